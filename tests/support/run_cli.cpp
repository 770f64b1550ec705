#include "support/run_cli.h"

#include "support/file_text.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace plandown::testing {

CliRun RunPlandown(const std::filesystem::path& cwd, const std::vector<std::string>& args) {
  TempDir io;
  CliRun r;
  r.status = RunProcess({PLANDOWN_CLI_PATH, args, cwd, io.path() / "out", io.path() / "err"});
  r.out = ReadBytes(io.path() / "out");
  r.err = ReadBytes(io.path() / "err");
  return r;
}

}  // namespace plandown::testing
