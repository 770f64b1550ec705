// Converting a converted file again to the same generation gives the same bytes: nothing
// the conversion removes or replaces leaves behind something it would remove or replace
// on the next conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/conversion_ui.h"
#include "convert/convert_file.h"
#include "convert/settings.h"
#include "jww/jww_data.h"
#include "support/file_text.h"
#include "support/seed_inputs.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::vector<fs::path> DrawingsAndShapesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (dir.empty() || !fs::is_directory(dir)) return files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    const std::string ext = e.path().extension().string();
    if (e.is_regular_file() && (ext == ".jww" || ext == ".jws")) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Converts every file to each target, then the converted file to the same target again.
// Files the conversion refuses (generations before 3.51) are left out; `compared` counts
// the conversions compared.
void ExpectStableConversions(const std::vector<fs::path>& files, int& compared) {
  for (const fs::path& src : files)
    for (int index = 0; index < 4; ++index) {
      SCOPED_TRACE(src.string() + " to index " + std::to_string(index));
      TempDir once, twice;
      ConversionSettings settings;
      settings.OutVersionIndex = index;
      SilentConversionUi ui;
      const fs::path first = once.path() / src.filename();
      const FileConversion a = ConvertFile({FromFsPath(src), FromFsPath(first)}, settings, ui);
      if (a.outcome == Outcome::kRefused) continue;
      ASSERT_TRUE(a.outcome == Outcome::kConverted || a.outcome == Outcome::kConvertedDamaged) << ToUtf8(a.note);
      const fs::path second = twice.path() / src.filename();
      if (a.targetVersion >= 351) {
        const FileConversion b = ConvertFile({FromFsPath(first), FromFsPath(second)}, settings, ui);
        ASSERT_EQ(b.outcome, Outcome::kConverted) << ToUtf8(b.note);
      } else {
        // The conversion refuses a 3.00 drawing; the writer is what it would run.
        TJwwData doc;
        ASSERT_TRUE(doc.FileIn(FromFsPath(first)));
        ASSERT_TRUE(doc.FileOut(FromFsPath(second), a.targetVersion));
      }
      EXPECT_EQ(testing::ReadBytes(second), testing::ReadBytes(first));
      ++compared;
    }
}

TEST(Reconversion, ExamplesAndBuiltFixturesAreStable) {
  TempDir seeds;
  std::vector<fs::path> files = DrawingsAndShapesIn(fs::path(PLANDOWN_SOURCE_DIR) / "examples");
  for (const auto& list : {testing::DrawingSeeds(), testing::ShapeSeeds()})
    for (const testing::SeedInput& s : list) {
      files.push_back(seeds.path() / s.name);
      testing::WriteBytes(files.back(), std::string(s.bytes.begin(), s.bytes.end()));
    }
  int compared = 0;
  ExpectStableConversions(files, compared);
  EXPECT_GT(compared, 0);
}

TEST(Reconversion, RealFilesAreStable) {
  const std::vector<fs::path> files = DrawingsAndShapesIn(testing::CorpusDir());
  if (files.empty()) GTEST_SKIP() << "shared corpus not present (../shared/corpus)";
  int compared = 0;
  ExpectStableConversions(files, compared);
  EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace plandown
