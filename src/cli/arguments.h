// The command line as words: which command, which options, which files. No file is
// looked at here; what the words mean for the file system is the commands' business.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace plandown::cli {

enum class Command { kHelp, kInfo, kConvert };

struct Arguments {
  Command command = Command::kHelp;
  bool json = false;                  // info --json
  std::optional<std::string> out;     // convert --out DEST
  int outVersionIndex = 0;            // convert --to: 0 = 6.00, 1 = 4.20, 2 = 3.51, 3 = 3.00
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

}  // namespace plandown::cli
