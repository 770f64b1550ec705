// What the command line loads: the window toolkit (and the GTK stack behind it) only when
// an image is converted or a PNG picture drawn, through the graphics module. glibc's loader lists every file it
// loads under LD_DEBUG=files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "images/image_convert.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/file_text.h"
#include "support/image_fixtures.h"
#include "support/plan_drawing.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunPlandown;

#ifdef __GLIBC__

// A 7.00 drawing that binds one real BMP image.
void WriteDrawingWithBmp(const fs::path& path, const fs::path& imageFolder) {
  fs::create_directories(imageFolder);
  ASSERT_TRUE(InitImageLibrary());
  const testing::Bytes8 bmp = testing::Encoded(testing::TestPicture(), wxBITMAP_TYPE_BMP);
  testing::WriteBytes(imageFolder / "pic.bmp", std::string(bmp.begin(), bmp.end()));
  TJwwData doc;
  doc.Enthd.jwVer = 700;
  testing::InitTables(doc);
  testing::ListBuilder(MainList(doc)).Add(testing::Text(u"^@BM%temp%pic.bmp,100,100,0,0,1,0"));
  testing::Finish(doc);
  doc.BindImageFolder = AddPathDelim(FromFsPath(imageFolder));
  doc.BindImageExr = true;
  doc.BindImage = {TBindImageType{u"pic.bmp", static_cast<std::int32_t>(bmp.size()), false}};
  doc.BindImageN = 1;
  ASSERT_TRUE(doc.FileOut(FromFsPath(path), 700));
}

TEST(CliStartup, TheToolkitIsLoadedOnlyToConvertAnImage) {
  testing::TempDir tmp;
  const fs::path& root = tmp.path();
  fs::create_directories(root / "out");
  fs::create_directories(root / "converted");
  ASSERT_TRUE(testing::WritePlan(FromFsPath(root / "plan.jww"), 700));
  WriteDrawingWithBmp(root / "img.jww", root / "images");
  fs::remove_all(root / "images");

  struct Case {
    std::vector<std::string> args;
    bool toolkit;
  };
  const Case cases[] = {
      {{"--help"}, false},
      {{"info", "plan.jww", "img.jww"}, false},
      {{"convert", "--to", "6.00", "--out", "out", "plan.jww", "img.jww"}, false},  // images only copied
      {{"render", "--out", "out", "plan.jww"}, false},  // SVG is written by the core
      {{"convert", "--convert-images", "--image-format", "png", "--out", "converted", "img.jww"}, true},
      {{"render", "--format", "png", "--out", "out", "plan.jww"}, true},
  };
  for (const Case& c : cases) {
    const std::string line = testing::ReplaceAll(::testing::PrintToString(c.args), "\"", "");
    const testing::CliRun r = RunPlandown(root, c.args, {"LD_DEBUG=files"});
    EXPECT_EQ(r.status, 0) << line << "\n" << r.out;
    // The loader's own lines are there, or the check proves nothing.
    ASSERT_NE(r.err.find("file=libc.so"), std::string::npos) << line << "\n" << r.err;
    for (const char* lib : {"file=libwx_", "file=libgtk", "plandown-graphics"})
      EXPECT_EQ(r.err.find(lib) != std::string::npos, c.toolkit) << line << ": " << lib;
  }
  // The image was converted and the picture drawn.
  EXPECT_EQ(ReadBytes(root / "converted" / "pic.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(ReadBytes(root / "out" / "plan.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
}

#endif

}  // namespace
}  // namespace plandown
