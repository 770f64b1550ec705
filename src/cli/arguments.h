// The command line as words: which command, which options, which files. No file is
// looked at here; what the words mean for the file system is the commands' business.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "convert/settings.h"

namespace plandown::cli {

enum class Command { kHelp, kInfo, kConvert };

struct Arguments {
  Command command = Command::kHelp;
  bool json = false;                  // info --json
  std::optional<std::string> out;     // convert --out DEST
  ConversionSettings settings;        // convert --to and the image options
  bool verbose = false;               // convert --verbose: status texts on stderr
  std::vector<std::string> files;
};

struct ParsedArguments {
  std::optional<Arguments> arguments;  // absent on a usage error
  std::string error;                   // what is wrong with the command line
};

// `words` excludes the program name.
ParsedArguments ParseArguments(std::span<const std::string> words);

// "6.00" -> 0 ... "3.00" -> 3; nullopt for anything else.
std::optional<int> OutVersionIndexOf(const std::string& text);
// "same" -> 0, "bmp" -> 1, "gif" -> 2, "png" -> 3, "jpeg"/"jpg" -> 4, "tiff"/"tif" -> 5.
std::optional<int> ImageFormatIndexOf(const std::string& text);

}  // namespace plandown::cli
