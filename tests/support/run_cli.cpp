#include "support/run_cli.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/file_text.h"
#include "support/temp_dir.h"

namespace plandown::testing {

namespace {
std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}
}  // namespace

CliRun RunPlandown(const std::filesystem::path& cwd, const std::vector<std::string>& args) {
  TempDir io;
  std::string cmd = "cd " + Quote(cwd.string()) + " && " + Quote(PLANDOWN_CLI_PATH);
  for (const std::string& a : args) cmd += " " + Quote(a);
  cmd += " >" + Quote((io.path() / "out").string()) + " 2>" + Quote((io.path() / "err").string());
  const int raw = std::system(cmd.c_str());
  CliRun r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadBytes(io.path() / "out");
  r.err = ReadBytes(io.path() / "err");
  return r;
}

}  // namespace plandown::testing
