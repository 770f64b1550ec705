#include "support/run_cli.h"

#include "support/file_text.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace plandown::testing {

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

CliRun RunPlandown(const std::filesystem::path& cwd, const std::vector<std::string>& args,
                   const std::vector<std::string>& env) {
  TempDir io;
  CliRun r;
  // The tests compare UTF-8 text with LF line ends: on Windows redirected output would
  // otherwise be in the code page of the system, with CR LF.
  std::vector<std::string> environment{"PLANDOWN_UTF8=1"};
  environment.insert(environment.end(), env.begin(), env.end());
  r.status = RunProcess({PLANDOWN_CLI_PATH, args, cwd, io.path() / "out", io.path() / "err", environment});
  r.out = ReadBytes(io.path() / "out");
  r.err = ReadBytes(io.path() / "err");
  return r;
}

}  // namespace plandown::testing
