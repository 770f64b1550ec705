// Running the built `plandown` program as a user would, with its output captured.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The separator the program puts between a folder and a name it joins ("\" on Windows,
// "/" elsewhere), as a string literal to write next to others; JSON_PATH_SEP as it stands
// in JSON text.
#ifdef _WIN32
#define PATH_SEP "\\"
#define JSON_PATH_SEP "\\\\"
#else
#define PATH_SEP "/"
#define JSON_PATH_SEP "/"
#endif

namespace plandown::testing {

struct CliRun {
  int status = -1;
  std::string out, err;
};

// `text` with every `from` replaced by `to`.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

// Runs the program with `args` in `cwd`, with `env` (NAME=value) added to the
// environment; its output is kept outside `cwd`.
CliRun RunPlandown(const std::filesystem::path& cwd, const std::vector<std::string>& args,
                   const std::vector<std::string>& env = {});

}  // namespace plandown::testing
