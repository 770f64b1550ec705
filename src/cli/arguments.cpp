#include "cli/arguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <iterator>

namespace plandown::cli {

namespace {

ParsedArguments Usage(std::string error) { return ParsedArguments{std::nullopt, std::move(error)}; }

// What the options were given, as words; their meaning is checked after the parse.
struct Words {
  bool help = false, version = false;
  bool json = false, descending = false, recursive = false, verbose = false, null = false;
  bool convertImages = false, deleteSourceImage = false;
  std::string filter, sort, out, to, imageFormat, jpegQuality, settings, jobs, report, filesFrom;
  std::vector<std::string> files;  // the files of a command, or the command named by help
};

// The whole command line, declared to CLI11: which option belongs to which command, its
// names, and whether it takes a value. Help texts are our own (help_text.cpp) and unknown
// words are kept, so that every error reads the same, in our words.
class CommandLine {
 public:
  CommandLine() {
    app_.set_help_flag();
    app_.allow_extras();
    app_.require_subcommand(0, 1);
    // A value given twice: the last counts. A flag takes no value.
    app_.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)->disable_flag_override();
    app_.add_flag("-h,--help", w_.help);
    app_.add_flag("-V,--version", w_.version);

    CLI::App* info = AddCommand(Command::kInfo);
    info->add_flag("--json", w_.json);
    CLI::App* list = AddCommand(Command::kList);
    list->add_option("--filter", w_.filter);
    list->add_option("--sort", w_.sort);
    list->add_flag("--desc", w_.descending);
    list->add_flag("--json", w_.json);
    CLI::App* convert = AddCommand(Command::kConvert);
    convert->add_option("-o,--out", w_.out);
    convert->add_option("--to", w_.to);
    convert->add_option("--image-format", w_.imageFormat);
    convert->add_option("--jpeg-quality", w_.jpegQuality);
    convert->add_flag("--convert-images", w_.convertImages);
    convert->add_flag("--delete-source-image", w_.deleteSourceImage);
    convert->add_option("--settings", w_.settings);
    convert->add_flag("-r,--recursive", w_.recursive);
    convert->add_option("-j,--jobs", w_.jobs);
    convert->add_option("--report", w_.report);
    convert->add_flag("-v,--verbose", w_.verbose);
    convert->add_option("--files-from", w_.filesFrom);
    convert->add_flag("--null", w_.null);
    help_ = app_.add_subcommand("help");
    help_->set_help_flag();
    help_->allow_extras();
    help_->add_option("command", w_.files);
  }

  CLI::App& app() { return app_; }
  CLI::App* help() { return help_; }
  CLI::App* command(Command c) { return commands_[static_cast<std::size_t>(c)]; }
  Words& words() { return w_; }
  bool given(Command c, const char* option) { return command(c)->get_option(option)->count() > 0; }

 private:
  CLI::App* AddCommand(Command c) {
    CLI::App* sub = app_.add_subcommand(CommandName(c));
    sub->set_help_flag();
    sub->allow_extras();
    sub->add_flag("-h,--help", w_.help);
    sub->add_option("files", w_.files);
    commands_[static_cast<std::size_t>(c)] = sub;
    return sub;
  }

  CLI::App app_{"", "plandown"};
  CLI::App* help_ = nullptr;
  CLI::App* commands_[5] = {};
  Words w_;
};

// CLI11's words for the errors that a user meets most, in ours.
std::string ParseErrorText(const CLI::ParseError& e) {
  const std::string what = e.what();
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr) {
    if (what.ends_with(" missing")) return "option '" + what.substr(0, what.find(':')) + "' needs a value";
    if (what.ends_with("disallowed flag override")) {
      const std::string name = what.substr(0, what.find(' '));
      return "option '" + std::string(name.size() == 1 ? "-" : "--") + name + "' takes no value";
    }
  }
  return what;
}

// The option part of an unknown word: "--bogus=1" -> "--bogus".
std::string OptionPart(const std::string& word) { return word.substr(0, word.find('=')); }

// A whole number from `low` to `high`, or nullopt.
std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n < low || n > high) return std::nullopt;
  return n;
}

template <std::size_t N>
std::optional<int> IndexOf(const std::string& text, const std::pair<const char*, int> (&names)[N]) {
  for (const auto& [name, index] : names)
    if (text == name) return index;
  return std::nullopt;
}

// The meaning of the words given to `command`'s options; an error text, or empty.
std::string Apply(CommandLine& line, Command command, Arguments& a) {
  const Words& w = line.words();
  const auto given = [&](const char* option) { return line.given(command, option); };
  a.json = w.json;
  a.descending = w.descending;
  a.recursive = w.recursive;
  a.verbose = w.verbose;
  a.nullSeparated = w.null;
  a.files = w.files;
  if (w.convertImages) a.settings.ConvertBoundImages = 1, a.given.convertImages = true;
  if (w.deleteSourceImage) a.settings.DeleteSourceImage = 1, a.given.deleteSourceImage = true;
  if (command == Command::kConvert) {
    if (given("--out")) a.out = w.out;
    if (given("--settings")) a.settingsFile = w.settings;
    if (given("--report")) a.report = w.report;
    if (given("--files-from")) a.filesFrom = w.filesFrom;
    if (given("--to")) {
      const auto index = OutVersionIndexOf(w.to);
      if (!index) return "unknown target version '" + w.to + "' (6.00, 4.20, 3.51 or 3.00)";
      a.settings.OutVersionIndex = *index;
      a.given.outVersion = true;
    }
    if (given("--image-format")) {
      const auto index = ImageFormatIndexOf(w.imageFormat);
      if (!index) return "unknown image format '" + w.imageFormat + "' (same, bmp, gif, png, jpeg or tiff)";
      a.settings.ImageFormatIndex = *index;
      a.given.imageFormat = true;
    }
    if (given("--jpeg-quality")) {
      const auto q = WholeNumber(w.jpegQuality, 0, 100);
      if (!q) return "--jpeg-quality takes a whole number from 0 to 100";
      a.settings.JpegQuality = *q;
      a.given.jpegQuality = true;
    }
    if (given("--jobs")) {
      const auto n = WholeNumber(w.jobs, 1, 1024);
      if (!n) return "--jobs takes a whole number from 1 to 1024";
      a.jobs = *n;
    }
    if (w.null && !a.filesFrom) return "--null goes with --files-from";
  }
  if (command == Command::kList) {
    if (given("--filter")) {
      const auto index = FilterIndexOf(w.filter);
      if (!index) return "unknown filter '" + w.filter + "' (all, jw, jww, jws, jwc or jwk)";
      a.filterIndex = *index;
    }
    if (given("--sort")) {
      const auto column = SortColumnOf(w.sort);
      if (!column) return "unknown sort column '" + w.sort + "' (name, type, memo, modified, size or version)";
      a.sortColumn = *column;
    }
    if (a.files.empty()) return "no FOLDER given";
    if (a.files.size() > 1) return "list takes one FOLDER";
  } else if (a.files.empty() && !a.filesFrom) {
    return "no FILE given";
  }
  return {};
}

ParsedArguments Help(std::optional<Command> command) {
  Arguments a;
  a.command = Command::kHelp;
  a.helpFor = command;
  return ParsedArguments{a, {}};
}

}  // namespace

std::optional<Command> CommandNamed(const std::string& name) {
  for (const Command c : {Command::kInfo, Command::kList, Command::kConvert})
    if (name == CommandName(c)) return c;
  return std::nullopt;
}

const char* CommandName(Command command) {
  switch (command) {
    case Command::kInfo: return "info";
    case Command::kList: return "list";
    case Command::kConvert: return "convert";
    case Command::kHelp: return "help";
    case Command::kVersion: return "version";
  }
  return "help";
}

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
  // The parser is built for every call: CLI11 keeps what it parsed.
  CommandLine parser;
  CommandLine* const line = &parser;
  // "--" ends the options: every word after it is a file. (CLI11 would end the command's
  // own words there and read the rest as the program's.)
  const auto mark = std::find(words.begin(), words.end(), "--");
  std::vector<std::string> reversed(std::make_reverse_iterator(mark), words.rend());  // CLI11 takes words from the back
  try {
    line->app().parse(reversed);
  } catch (const CLI::ParseError& e) {
    return Usage(ParseErrorText(e));
  }
  Words& w = line->words();
  if (mark != words.end()) w.files.insert(w.files.end(), mark + 1, words.end());
  std::optional<Command> command;
  for (const Command c : {Command::kInfo, Command::kList, Command::kConvert})
    if (line->command(c)->parsed()) command = c;

  // Help wins over whatever else is wrong on the line.
  if (w.help) return Help(command);
  if (line->help()->parsed()) {
    if (w.files.empty()) return Help(std::nullopt);
    const auto topic = CommandNamed(w.files.front());
    if (!topic) return Usage("unknown command '" + w.files.front() + "'");
    if (w.files.size() > 1 || !line->help()->remaining().empty()) return Usage("help takes one COMMAND");
    return Help(topic);
  }
  const std::vector<std::string> stray = line->app().remaining();
  if (!stray.empty()) {
    const std::string& word = stray.front();
    if (word.size() > 1 && word[0] == '-') return Usage("unknown option '" + OptionPart(word) + "'");
    return Usage("unknown command '" + word + "'");
  }
  if (w.version) {
    Arguments a;
    a.command = Command::kVersion;
    return ParsedArguments{a, {}};
  }
  if (!command) return Usage("no command given");
  const std::vector<std::string> unknown = line->command(*command)->remaining();
  if (!unknown.empty())
    return Usage("unknown option '" + OptionPart(unknown.front()) + "' for " + CommandName(*command));

  Arguments a;
  a.command = *command;
  const std::string error = Apply(*line, *command, a);
  if (!error.empty()) return Usage(error);
  return ParsedArguments{a, {}};
}

std::vector<std::string> OptionNames(Command command) {
  CommandLine line;
  CLI::App* app = command == Command::kHelp || command == Command::kVersion ? &line.app() : line.command(command);
  std::vector<std::string> names;
  for (const CLI::Option* option : app->get_options()) {
    if (option->get_positional() && option->get_lnames().empty() && option->get_snames().empty()) continue;
    for (const std::string& s : option->get_snames()) names.push_back("-" + s);
    for (const std::string& l : option->get_lnames()) names.push_back("--" + l);
  }
  return names;
}

}  // namespace plandown::cli
