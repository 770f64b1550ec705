#include "cli/cli.h"

#include <exception>
#include <ostream>

#include "cli/arguments.h"
#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/info_command.h"
#include "cli/list_command.h"

namespace plandown::cli {

namespace {

constexpr const char* kHelp =
    "Usage:\n"
    "  plandown info [--json] FILE...\n"
    "  plandown list [--filter all|jw|jww|jws|jwc|jwk]\n"
    "                [--sort name|type|memo|modified|size|version] [--desc] [--json] FOLDER\n"
    "  plandown convert [--to 6.00|4.20|3.51|3.00] --out DEST [--recursive] [--jobs N]\n"
    "                   [--report FILE] [--settings FILE] [--verbose]\n"
    "                   [--convert-images] [--image-format same|bmp|gif|png|jpeg|tiff]\n"
    "                   [--jpeg-quality 0..100] [--delete-source-image] FILE|FOLDER...\n"
    "  plandown --help\n"
    "\n"
    "info     describes each drawing (.jww and its backups) or shape (.jws):\n"
    "         version, memo, object counts, block definitions and bound images.\n"
    "         Creates no file.\n"
    "         --json  one JSON array, one object per file.\n"
    "list     the files of FOLDER with name, type, memo, modified, size and version,\n"
    "         read from their headers only, in name order.\n"
    "         --filter  which files (default all; jw: .jw? files).\n"
    "         --sort    the column to sort by; --desc  descending.\n"
    "         --json    one JSON array, one object per file.\n"
    "convert  writes each .jww drawing and .jws shape under its own name into the\n"
    "         folder DEST (default target 6.00; shapes are written as 3.51 at the\n"
    "         oldest). A FOLDER stands for its .jww and .jws files. An existing file\n"
    "         in DEST is first copied to the same name with the extension .BAK.\n"
    "         Files of generation 3.50 and older are not converted. DEST must exist\n"
    "         and must not be the folder of any source file.\n"
    "         --recursive  sub-folders too, mirrored under DEST (made as needed).\n"
    "         --jobs N     files converted at once (default: one per processor);\n"
    "                      the output is that of one at a time.\n"
    "         --report FILE    a JSON report of every file.\n"
    "         --settings FILE  the conversion settings of a settings file of the\n"
    "                      desktop application; options given here win.\n"
    "         --verbose  status texts on stderr.\n"
    "         Images bound in 7.00 drawings are placed next to the converted\n"
    "         drawing; --convert-images converts them to --image-format (same: the\n"
    "         format before binding) with --jpeg-quality (default 75);\n"
    "         --delete-source-image removes the image it was converted from.\n"
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
        case Command::kList: status = RunList(*parsed.arguments, out, err); break;
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
