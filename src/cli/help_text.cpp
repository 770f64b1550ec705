#include "cli/help_text.h"

namespace plandown::cli {

namespace {

struct CommandText {
  Command command;
  const char* usage;        // the lines after "Usage:"
  const char* description;  // the paragraph, its first line starting with the name
};

constexpr CommandText kCommands[] = {
    {Command::kInfo,
     "  plandown info [--json] FILE...\n",
     "info     describes each drawing (.jww and its backups) or shape (.jws):\n"
     "         version, memo, object counts, block definitions and bound images;\n"
     "         of a DOS-era drawing (.jwc) or shape (.jwk): its two comments and\n"
     "         the counts its header holds. Creates no file.\n"
     "         --json  one JSON array, one object per file.\n"},
    {Command::kList,
     "  plandown list [--filter all|jw|jww|jws|jwc|jwk]\n"
     "                [--sort name|type|memo|modified|size|version] [--desc] [--json] FOLDER\n",
     "list     the files of FOLDER with name, type, memo, modified, size and version,\n"
     "         read from their headers only, in name order.\n"
     "         --filter  which files (default all; jw: .jw? files).\n"
     "         --sort    the column to sort by; --desc  descending.\n"
     "         --json    one JSON array, one object per file.\n"},
    {Command::kConvert,
     "  plandown convert [--to 6.00|4.20|3.51|3.00] --out DEST [--recursive] [--jobs N]\n"
     "                   [--report FILE] [--settings FILE] [--verbose]\n"
     "                   [--convert-images] [--image-format same|bmp|gif|png|jpeg|tiff]\n"
     "                   [--jpeg-quality 0..100] [--delete-source-image]\n"
     "                   [--files-from FILE|- [--null]] FILE|FOLDER...\n",
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
     "         --files-from FILE  more FILEs and FOLDERs, one a line (--null: ended\n"
     "                      by NUL bytes, as find -print0 writes), after those given\n"
     "                      here; - reads them from standard input.\n"
     "         Images bound in 7.00 drawings are placed next to the converted\n"
     "         drawing; --convert-images converts them to --image-format (same: the\n"
     "         format before binding) with --jpeg-quality (default 75);\n"
     "         --delete-source-image removes the image it was converted from.\n"},
};

constexpr const char* kExitStatus =
    "Exit status: 0 all files done cleanly; 1 a file was refused, failed or read\n"
    "with errors; 2 a usage error (nothing converted).\n";

}  // namespace

std::string OverviewHelp() {
  std::string text = "Usage:\n";
  for (const CommandText& c : kCommands) text += c.usage;
  text +=
      "  plandown help [COMMAND]   (or plandown COMMAND --help)\n"
      "  plandown --help | --version\n\n";
  for (const CommandText& c : kCommands) text += c.description;
  return text + "\n" + kExitStatus;
}

std::string CommandHelp(Command command) {
  for (const CommandText& c : kCommands)
    if (c.command == command) return std::string("Usage:\n") + c.usage + "\n" + c.description + "\n" + kExitStatus;
  return OverviewHelp();
}

}  // namespace plandown::cli
