// The command line without its graphics module (cli_startup_test.cpp shows when it is
// loaded): a picture fails cleanly and everything else works.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/file_text.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

TEST(GraphicsModule, WithoutTheModuleAPictureFailsAndTheRestWorks) {
#ifdef _WIN32
  GTEST_SKIP() << "the Windows program links the graphics code in";
#else
  // The program alone in a folder: no module beside it, none installed.
  testing::TempDir dir;
  const fs::path program = dir.path() / "plandown";
  fs::copy_file(PLANDOWN_CLI_PATH, program);
  const fs::path plan = fs::path(PLANDOWN_SOURCE_DIR) / "examples" / "plan.jww";
  fs::create_directories(dir.path() / "out");
  const auto run = [&](const std::vector<std::string>& args) {
    return testing::RunProcess({program, args, dir.path(), dir.path() / "out.txt", dir.path() / "err.txt"});
  };
  EXPECT_EQ(run({"render", "--format", "png", "--out", "out", plan.string()}), 1);
  EXPECT_NE(ReadBytes(dir.path() / "out.txt").find("the graphics library could not start"), std::string::npos)
      << ReadBytes(dir.path() / "out.txt");
  EXPECT_FALSE(fs::exists(dir.path() / "out" / "plan.png"));
  EXPECT_EQ(run({"convert", "--out", "out", plan.string()}), 0) << ReadBytes(dir.path() / "out.txt");
  EXPECT_TRUE(fs::is_regular_file(dir.path() / "out" / "plan.jww"));
#endif
}

}  // namespace
}  // namespace plandown
