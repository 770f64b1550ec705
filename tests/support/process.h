// Starting a program directly, without a shell: arguments reach it as they are, whatever
// characters they hold (posix_spawn on POSIX, CreateProcessW on Windows).
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace plandown::testing {

struct ProcessStart {
  std::filesystem::path program;
  std::vector<std::string> args;      // UTF-8, without the program name
  std::filesystem::path cwd;          // empty: the current folder
  std::filesystem::path stdoutPath;   // empty: the null device
  std::filesystem::path stderrPath;   // empty: the null device
  std::vector<std::string> env;       // NAME=value entries added to this process's own
};

// Runs the program to its end; its exit status, or -1 when it could not be started or
// did not exit normally.
int RunProcess(const ProcessStart& start);

}  // namespace plandown::testing
