// Running the built `plandown` program as a user would, with its output captured.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace plandown::testing {

struct CliRun {
  int status = -1;
  std::string out, err;
};

// Runs the program with `args` in `cwd`; its output is kept outside `cwd`.
CliRun RunPlandown(const std::filesystem::path& cwd, const std::vector<std::string>& args);

}  // namespace plandown::testing
