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

// A program started and left running: it can be killed (SIGKILL, TerminateProcess), as a
// crash would end it. One still running when this goes is killed.
class ChildProcess {
 public:
  explicit ChildProcess(const ProcessStart& start);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const;
  void Kill();
  // Waits for the end: the exit status, or -1 when it did not exit normally.
  int Wait();

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  long long pid_ = 0;
#endif
};

}  // namespace plandown::testing
