// The command line carries no graphics library of its own: it starts without one and
// loads the graphics module for the first picture; without the module a picture fails
// cleanly and everything else works.
#include <gtest/gtest.h>

#include <cstdlib>
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

struct WatchedRun {
  int status = -1;
  std::string out, loaded;  // loaded: the dynamic loader's account of the libraries
};

WatchedRun RunWatched(const fs::path& program, const std::vector<std::string>& args, const fs::path& cwd) {
#ifdef _WIN32
  (void)program, (void)args, (void)cwd;
  return {};
#else
  setenv("LD_DEBUG", "libs", 1);
  WatchedRun r;
  r.status = testing::RunProcess({program, args, cwd, cwd / "out.txt", cwd / "err.txt"});
  unsetenv("LD_DEBUG");
  r.out = ReadBytes(cwd / "out.txt");
  r.loaded = ReadBytes(cwd / "err.txt");
  return r;
#endif
}

bool LoadedToolkit(const WatchedRun& r) { return r.loaded.find("libwx_") != std::string::npos; }

TEST(GraphicsModule, LoadedOnlyForAPicture) {
#ifdef _WIN32
  GTEST_SKIP() << "the Windows program links the graphics code in";
#endif
  testing::TempDir dir;
  const fs::path examples = fs::path(PLANDOWN_SOURCE_DIR) / "examples";
  fs::create_directories(dir.path() / "out");
  const struct {
    const char* name;
    std::vector<std::string> args;
    bool toolkit;
    const char* written;  // a file the command must write, or nullptr
  } cases[] = {
      {"help", {"--help"}, false, nullptr},
      {"info", {"info", (examples / "plan.jww").string()}, false, nullptr},
      {"convert", {"convert", "--out", "out", (examples / "plan.jww").string()}, false, "out/plan.jww"},
      {"svg picture", {"render", "--out", "out", (examples / "plan.jww").string()}, false, "out/plan.svg"},
      {"png picture", {"render", "--format", "png", "--out", "out", (examples / "part.jws").string()}, true,
       "out/part.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WatchedRun r = RunWatched(PLANDOWN_CLI_PATH, c.args, dir.path());
    EXPECT_EQ(r.status, 0) << r.out;
    ASSERT_NE(r.loaded.find("calling init"), std::string::npos) << "no account from the dynamic loader";
    EXPECT_EQ(LoadedToolkit(r), c.toolkit);
    if (c.written) {
      EXPECT_TRUE(fs::is_regular_file(dir.path() / c.written));
    }
  }
}

TEST(GraphicsModule, WithoutTheModuleAPictureFailsAndTheRestWorks) {
#ifdef _WIN32
  GTEST_SKIP() << "the Windows program links the graphics code in";
#endif
  // The program alone in a folder: no module beside it, none installed.
  testing::TempDir dir;
  const fs::path program = dir.path() / "plandown";
  fs::copy_file(PLANDOWN_CLI_PATH, program);
  const fs::path plan = fs::path(PLANDOWN_SOURCE_DIR) / "examples" / "plan.jww";
  fs::create_directories(dir.path() / "out");
  const WatchedRun png = RunWatched(program, {"render", "--format", "png", "--out", "out", plan.string()}, dir.path());
  EXPECT_EQ(png.status, 1) << png.out;
  EXPECT_NE(png.out.find("the graphics library could not start"), std::string::npos) << png.out;
  EXPECT_FALSE(fs::exists(dir.path() / "out" / "plan.png"));
  const WatchedRun converted = RunWatched(program, {"convert", "--out", "out", plan.string()}, dir.path());
  EXPECT_EQ(converted.status, 0) << converted.out;
  EXPECT_TRUE(fs::is_regular_file(dir.path() / "out" / "plan.jww"));
}

}  // namespace
}  // namespace plandown
