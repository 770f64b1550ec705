// `plandown list`: the file list of one folder with its six columns, from headers only.
#pragma once
#include <iosfwd>

#include "cli/arguments.h"

namespace plandown::cli {

// 0 when the folder was listed, 2 when it does not exist.
int RunList(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace plandown::cli
