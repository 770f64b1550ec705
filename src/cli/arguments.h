// The command line as words: which command, which options, which files. No file is
// looked at here; what the words mean for the file system is the commands' business.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "convert/settings.h"

namespace plandown::cli {

enum class Command { kHelp, kVersion, kInfo, kList, kConvert };

// Which conversion settings the command line gave itself; they win over a settings file.
struct GivenSettings {
  bool outVersion = false;
  bool convertImages = false;
  bool deleteSourceImage = false;
  bool imageFormat = false;
  bool jpegQuality = false;
};

struct Arguments {
  Command command = Command::kHelp;
  std::optional<Command> helpFor;     // help: the command asked about; none: the overview
  bool json = false;                  // info, list --json
  // list
  int filterIndex = 0;                // --filter: index into the file-type filters
  std::optional<int> sortColumn;      // --sort: a file-list column; none keeps the folder's order
  bool descending = false;            // --desc
  // convert
  std::optional<std::string> out;     // --out DEST
  ConversionSettings settings;        // --to and the image options
  GivenSettings given;
  std::optional<std::string> settingsFile;  // --settings FILE
  bool recursive = false;             // --recursive
  std::optional<int> jobs;            // --jobs N; none: one per processor
  std::optional<std::string> report;  // --report FILE
  bool verbose = false;               // --verbose: status texts on stderr
  std::optional<std::string> filesFrom;  // --files-from FILE: more paths, "-" for stdin
  bool nullSeparated = false;         // --null: that list is separated by NUL bytes
  std::vector<std::string> files;
};

struct ParsedArguments {
  std::optional<Arguments> arguments;  // absent on a usage error
  std::string error;                   // what is wrong with the command line
};

// `words` excludes the program name.
ParsedArguments ParseArguments(std::span<const std::string> words);

// "info", "list", "convert"; nullopt for anything else.
std::optional<Command> CommandNamed(const std::string& name);
const char* CommandName(Command command);

// The options of `command` under all their names ("--out", "-o", ...), and the words its
// option takes where there is a fixed set; for checking the shell completion.
std::vector<std::string> OptionNames(Command command);

// "6.00" -> 0 ... "3.00" -> 3; nullopt for anything else.
std::optional<int> OutVersionIndexOf(const std::string& text);
// "same" -> 0, "bmp" -> 1, "gif" -> 2, "png" -> 3, "jpeg"/"jpg" -> 4, "tiff"/"tif" -> 5.
std::optional<int> ImageFormatIndexOf(const std::string& text);
// "all" -> 0, "jw" -> 1, "jww" -> 2, "jws" -> 3, "jwc" -> 4, "jwk" -> 5.
std::optional<int> FilterIndexOf(const std::string& text);
// "name" -> 0, "type" -> 1, "memo" -> 2, "modified" -> 3, "size" -> 4, "version" -> 5.
std::optional<int> SortColumnOf(const std::string& text);

}  // namespace plandown::cli
