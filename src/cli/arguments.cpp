#include "cli/arguments.h"

#include <cstdlib>

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

std::optional<int> ImageFormatIndexOf(const std::string& text) {
  static const std::pair<const char*, int> kFormats[] = {{"same", 0}, {"bmp", 1}, {"gif", 2},  {"png", 3},
                                                         {"jpeg", 4}, {"jpg", 4}, {"tiff", 5}, {"tif", 5}};
  for (const auto& [name, index] : kFormats)
    if (text == name) return index;
  return std::nullopt;
}

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
    const bool convert = a.command == Command::kConvert;
    const bool takesValue = convert && (name == "--out" || name == "-o" || name == "--to" || name == "--image-format" ||
                                        name == "--jpeg-quality");
    const bool isFlag = (a.command == Command::kInfo && name == "--json") ||
                        (convert && (name == "--verbose" || name == "-v" || name == "--convert-images" ||
                                     name == "--delete-source-image"));
    if (!takesValue && !isFlag) return Usage("unknown option '" + name + "' for " + command);
    if (isFlag) {
      if (value) return Usage("option '" + name + "' takes no value");
      if (name == "--json") a.json = true;
      else if (name == "--convert-images") a.settings.ConvertBoundImages = 1;
      else if (name == "--delete-source-image") a.settings.DeleteSourceImage = 1;
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
      a.settings.OutVersionIndex = *index;
    } else if (name == "--image-format") {
      const auto index = ImageFormatIndexOf(*value);
      if (!index) return Usage("unknown image format '" + *value + "' (same, bmp, gif, png, jpeg or tiff)");
      a.settings.ImageFormatIndex = *index;
    } else if (name == "--jpeg-quality") {
      char* end = nullptr;
      const long q = std::strtol(value->c_str(), &end, 10);
      if (value->empty() || *end != '\0' || q < 0 || q > 100)
        return Usage("--jpeg-quality takes a whole number from 0 to 100");
      a.settings.JpegQuality = static_cast<int>(q);
    } else {
      a.out = *value;
    }
  }
  if (a.files.empty()) return Usage("no FILE given");
  return ParsedArguments{a, {}};
}

}  // namespace plandown::cli
