// `plandown convert`: the file policy around the conversion layer: which destination is
// acceptable, what is printed per file, and the exit status.
#pragma once
#include <iosfwd>

#include "cli/arguments.h"

namespace plandown::cli {

// 0 when every file was written after a clean read, 1 when any was refused, failed or
// read with errors (or the report could not be written), 2 when the destination, the
// settings file, the file list or the report's folder is unusable (nothing converted then).
int RunConvert(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace plandown::cli
