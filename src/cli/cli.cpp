#include "cli/cli.h"

#include <exception>
#include <ostream>

#include "cli/arguments.h"
#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/help_text.h"
#include "cli/info_command.h"
#include "cli/list_command.h"
#include "plandown/version.h"

namespace plandown::cli {

int Run(std::span<const std::string> words, std::ostream& out, std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(words);
  int status = kExitOk;
  if (!parsed.arguments) {
    err << "plandown: " << parsed.error << "\n";
    // Without any word the user is new to the program: the overview helps more than a hint.
    if (words.empty()) err << OverviewHelp();
    else err << "Run 'plandown --help' for usage.\n";
    status = kExitUsage;
  } else {
    const Arguments& args = *parsed.arguments;
    try {
      switch (args.command) {
        case Command::kHelp: out << (args.helpFor ? CommandHelp(*args.helpFor) : OverviewHelp()); break;
        case Command::kVersion: out << "plandown " << kVersion << "\n"; break;
        case Command::kInfo: status = RunInfo(args, out); break;
        case Command::kList: status = RunList(args, out, err); break;
        case Command::kConvert: status = RunConvert(args, out, err); break;
      }
    } catch (const std::exception& e) {
      err << "plandown: " << e.what() << "\n";
      status = kExitFileProblem;
    }
  }
  out.flush();
  err.flush();
  return status;
}

}  // namespace plandown::cli
