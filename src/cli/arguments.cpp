#include "cli/arguments.h"

namespace plandown::cli {

namespace {

ParsedArguments Usage(std::string error) { return ParsedArguments{std::nullopt, std::move(error)}; }

// Splits "--name=value" into its two parts; `value` stays empty without "=".
bool SplitOption(const std::string& word, std::string& name, std::optional<std::string>& value) {
  if (word.size() < 2 || word[0] != '-') return false;
  const auto eq = word.find('=');
  name = word.substr(0, eq);
  if (eq != std::string::npos) value = word.substr(eq + 1);
  return true;
}

}  // namespace

std::optional<int> OutVersionIndexOf(const std::string& text) {
  static constexpr const char* kNames[] = {"6.00", "4.20", "3.51", "3.00"};
  for (int i = 0; i < 4; ++i)
    if (text == kNames[i]) return i;
  return std::nullopt;
}

ParsedArguments ParseArguments(std::span<const std::string> words) {
  if (words.empty()) return Usage("no command given");
  Arguments a;
  const std::string& command = words[0];
  if (command == "--help" || command == "-h" || command == "help") return ParsedArguments{a, {}};
  if (command == "info") a.command = Command::kInfo;
  else if (command == "convert") a.command = Command::kConvert;
  else return Usage("unknown command '" + command + "'");

  bool optionsEnded = false;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    std::string name;
    std::optional<std::string> value;
    if (optionsEnded || w == "-" || !SplitOption(w, name, value)) {
      a.files.push_back(w);
      continue;
    }
    if (name == "--") {
      optionsEnded = true;
      continue;
    }
    if (name == "--help" || name == "-h") {
      a.command = Command::kHelp;
      return ParsedArguments{a, {}};
    }
    const bool takesValue = a.command == Command::kConvert && (name == "--out" || name == "-o" || name == "--to");
    const bool isFlag = (a.command == Command::kInfo && name == "--json") ||
                        (a.command == Command::kConvert && (name == "--verbose" || name == "-v"));
    if (!takesValue && !isFlag) return Usage("unknown option '" + name + "' for " + command);
    if (isFlag) {
      if (value) return Usage("option '" + name + "' takes no value");
      if (name == "--json") a.json = true;
      else a.verbose = true;
      continue;
    }
    if (!value) {
      if (i + 1 >= words.size()) return Usage("option '" + name + "' needs a value");
      value = words[++i];
    }
    if (name == "--to") {
      const auto index = OutVersionIndexOf(*value);
      if (!index) return Usage("unknown target version '" + *value + "' (6.00, 4.20, 3.51 or 3.00)");
      a.outVersionIndex = *index;
    } else {
      a.out = *value;
    }
  }
  if (a.files.empty()) return Usage("no FILE given");
  return ParsedArguments{a, {}};
}

}  // namespace plandown::cli
