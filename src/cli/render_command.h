// `plandown render`: one picture per drawing or shape, of the document as it is or, with
// --to, as the conversion would write it (made in memory; nothing but the picture written).
#pragma once
#include <iosfwd>

#include "cli/arguments.h"

namespace plandown::cli {

// Exit statuses as those of convert: 0 when every picture was written from a clean read,
// 1 when any file was refused, failed or read with errors, 2 when DEST is not given or
// does not exist (nothing drawn then).
int RunRender(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace plandown::cli
