// Shared libraries opened at run time (platform.cpp).
#pragma once
#include "util/ustring.h"

namespace plandown::platform {

// Opens the shared library at `path` (kept open for the rest of the process) and returns
// its function `name`; nullptr when either cannot be found. Only where programs load
// libraries of their own (not on Windows, where everything is linked in).
void* LoadModuleFunction(const String& path, const char* name);

}  // namespace plandown::platform
