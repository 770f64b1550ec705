// The texts of `plandown --help` (every command) and `plandown help COMMAND` (one).
#pragma once
#include <string>

#include "cli/arguments.h"

namespace plandown::cli {

std::string OverviewHelp();
// The usage and the options of one command.
std::string CommandHelp(Command command);

}  // namespace plandown::cli
