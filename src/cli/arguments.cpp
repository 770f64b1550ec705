#include "cli/arguments.h"

#include <array>
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

struct Option {
  std::array<const char*, 2> names;  // the long name first; a short one or nullptr
  std::array<Command, 2> commands;   // kHelp fills an unused place
  bool takesValue;
};

constexpr Command kInfo = Command::kInfo, kList = Command::kList, kConvert = Command::kConvert;
constexpr Option kOptions[] = {
    {{"--json"}, {kInfo, kList}, false},
    {{"--filter"}, {kList}, true},
    {{"--sort"}, {kList}, true},
    {{"--desc"}, {kList}, false},
    {{"--out", "-o"}, {kConvert}, true},
    {{"--to"}, {kConvert}, true},
    {{"--image-format"}, {kConvert}, true},
    {{"--jpeg-quality"}, {kConvert}, true},
    {{"--convert-images"}, {kConvert}, false},
    {{"--delete-source-image"}, {kConvert}, false},
    {{"--settings"}, {kConvert}, true},
    {{"--recursive", "-r"}, {kConvert}, false},
    {{"--jobs", "-j"}, {kConvert}, true},
    {{"--report"}, {kConvert}, true},
    {{"--verbose", "-v"}, {kConvert}, false},
};

// The option `name` of `command` under its long name, or nullptr.
const Option* FindOption(const std::string& name, Command command) {
  for (const Option& o : kOptions) {
    bool named = false;
    for (const char* n : o.names) named = named || (n != nullptr && name == n);
    if (!named) continue;
    for (const Command c : o.commands)
      if (c == command) return &o;
  }
  return nullptr;
}

// A whole number from `low` to `high`, or nullopt.
std::optional<int> WholeNumber(const std::string& text, long low, long high) {
  char* end = nullptr;
  const long n = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || n < low || n > high) return std::nullopt;
  return static_cast<int>(n);
}

template <std::size_t N>
std::optional<int> IndexOf(const std::string& text, const std::pair<const char*, int> (&names)[N]) {
  for (const auto& [name, index] : names)
    if (text == name) return index;
  return std::nullopt;
}

// Applies option `name` (its long name) with `value` to `a`; an error text, or empty.
std::string Apply(const std::string& name, const std::string& value, Arguments& a) {
  if (name == "--json") a.json = true;
  else if (name == "--desc") a.descending = true;
  else if (name == "--convert-images") a.settings.ConvertBoundImages = 1, a.given.convertImages = true;
  else if (name == "--delete-source-image") a.settings.DeleteSourceImage = 1, a.given.deleteSourceImage = true;
  else if (name == "--recursive") a.recursive = true;
  else if (name == "--verbose") a.verbose = true;
  else if (name == "--out") a.out = value;
  else if (name == "--settings") a.settingsFile = value;
  else if (name == "--report") a.report = value;
  else if (name == "--filter") {
    const auto index = FilterIndexOf(value);
    if (!index) return "unknown filter '" + value + "' (all, jw, jww, jws, jwc or jwk)";
    a.filterIndex = *index;
  } else if (name == "--sort") {
    const auto column = SortColumnOf(value);
    if (!column) return "unknown sort column '" + value + "' (name, type, memo, modified, size or version)";
    a.sortColumn = *column;
  } else if (name == "--to") {
    const auto index = OutVersionIndexOf(value);
    if (!index) return "unknown target version '" + value + "' (6.00, 4.20, 3.51 or 3.00)";
    a.settings.OutVersionIndex = *index;
    a.given.outVersion = true;
  } else if (name == "--image-format") {
    const auto index = ImageFormatIndexOf(value);
    if (!index) return "unknown image format '" + value + "' (same, bmp, gif, png, jpeg or tiff)";
    a.settings.ImageFormatIndex = *index;
    a.given.imageFormat = true;
  } else if (name == "--jpeg-quality") {
    const auto q = WholeNumber(value, 0, 100);
    if (!q) return "--jpeg-quality takes a whole number from 0 to 100";
    a.settings.JpegQuality = *q;
    a.given.jpegQuality = true;
  } else if (name == "--jobs") {
    const auto n = WholeNumber(value, 1, 1024);
    if (!n) return "--jobs takes a whole number from 1 to 1024";
    a.jobs = *n;
  }
  return {};
}

}  // namespace

std::optional<int> ImageFormatIndexOf(const std::string& text) {
  static const std::pair<const char*, int> kFormats[] = {{"same", 0}, {"bmp", 1}, {"gif", 2},  {"png", 3},
                                                         {"jpeg", 4}, {"jpg", 4}, {"tiff", 5}, {"tif", 5}};
  return IndexOf(text, kFormats);
}

std::optional<int> OutVersionIndexOf(const std::string& text) {
  static const std::pair<const char*, int> kVersions[] = {{"6.00", 0}, {"4.20", 1}, {"3.51", 2}, {"3.00", 3}};
  return IndexOf(text, kVersions);
}

std::optional<int> FilterIndexOf(const std::string& text) {
  static const std::pair<const char*, int> kFilters[] = {{"all", 0}, {"jw", 1},  {"jww", 2},
                                                         {"jws", 3}, {"jwc", 4}, {"jwk", 5}};
  return IndexOf(text, kFilters);
}

std::optional<int> SortColumnOf(const std::string& text) {
  static const std::pair<const char*, int> kColumns[] = {{"name", 0},     {"type", 1}, {"memo", 2},
                                                         {"modified", 3}, {"size", 4}, {"version", 5}};
  return IndexOf(text, kColumns);
}

ParsedArguments ParseArguments(std::span<const std::string> words) {
  if (words.empty()) return Usage("no command given");
  Arguments a;
  const std::string& command = words[0];
  if (command == "--help" || command == "-h" || command == "help") return ParsedArguments{a, {}};
  if (command == "info") a.command = Command::kInfo;
  else if (command == "list") a.command = Command::kList;
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
    const Option* option = FindOption(name, a.command);
    if (!option) return Usage("unknown option '" + name + "' for " + command);
    if (!option->takesValue && value) return Usage("option '" + name + "' takes no value");
    if (option->takesValue && !value) {
      if (i + 1 >= words.size()) return Usage("option '" + name + "' needs a value");
      value = words[++i];
    }
    const std::string error = Apply(option->names[0], value.value_or(std::string()), a);
    if (!error.empty()) return Usage(error);
  }
  if (a.command == Command::kList) {
    if (a.files.empty()) return Usage("no FOLDER given");
    if (a.files.size() > 1) return Usage("list takes one FOLDER");
  } else if (a.files.empty()) {
    return Usage("no FILE given");
  }
  return ParsedArguments{a, {}};
}

}  // namespace plandown::cli
