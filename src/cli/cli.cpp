#include "cli/cli.h"

#include <exception>
#include <ostream>

#include "cli/arguments.h"
#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/info_command.h"

namespace plandown::cli {

namespace {

constexpr const char* kHelp =
    "Usage:\n"
    "  plandown info [--json] FILE...\n"
    "  plandown convert [--to 6.00|4.20|3.51|3.00] --out DEST [--verbose]\n"
    "                   [--convert-images] [--image-format same|bmp|gif|png|jpeg|tiff]\n"
    "                   [--jpeg-quality 0..100] [--delete-source-image] FILE...\n"
    "  plandown --help\n"
    "\n"
    "info     describes each drawing (.jww and its backups) or shape (.jws):\n"
    "         version, memo, object counts, block definitions and bound images.\n"
    "         Creates no file.\n"
    "         --json  one JSON array, one object per file.\n"
    "convert  writes each .jww drawing under its own name into the folder DEST\n"
    "         (default target 6.00). An existing file there is first copied to the\n"
    "         same name with the extension .BAK. Drawings of generation 3.50 and\n"
    "         older are not converted. DEST must exist and must not be the folder of\n"
    "         any FILE.\n"
    "         --verbose  status texts on stderr.\n"
    "         Images bound in 7.00 drawings are placed next to the converted\n"
    "         drawing; --convert-images converts the compressed ones to\n"
    "         --image-format (same: the format before binding) with\n"
    "         --jpeg-quality (default 75); --delete-source-image removes the\n"
    "         image it was converted from.\n"
    "\n"
    "Exit status: 0 all files done cleanly; 1 a file was refused, failed or read\n"
    "with errors; 2 a usage error (nothing converted).\n";

}  // namespace

int Run(std::span<const std::string> words, std::ostream& out, std::ostream& err) {
  const ParsedArguments parsed = ParseArguments(words);
  int status = kExitOk;
  if (!parsed.arguments) {
    err << "plandown: " << parsed.error << "\n" << kHelp;
    status = kExitUsage;
  } else {
    try {
      switch (parsed.arguments->command) {
        case Command::kHelp: out << kHelp; break;
        case Command::kInfo: status = RunInfo(*parsed.arguments, out); break;
        case Command::kConvert: status = RunConvert(*parsed.arguments, out, err); break;
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
