// The progress bar's line and the display width it is measured in.
#include <gtest/gtest.h>

#include "cli/progress_bar.h"
#include "cli/text_output.h"
#include "util/ustring.h"

namespace plandown::cli {
namespace {

TEST(CliProgress, DisplayWidthCountsWideCharactersTwice) {
  EXPECT_EQ(DisplayWidth(u""), 0u);
  EXPECT_EQ(DisplayWidth(u"plan.jww"), 8u);
  EXPECT_EQ(DisplayWidth(u"平面図.jww"), 10u);
  EXPECT_EQ(DisplayWidth(u"ｶﾀｶﾅ"), 4u);     // half-width forms
  EXPECT_EQ(DisplayWidth(u"ＡＢ"), 4u);      // full-width forms
  EXPECT_EQ(DisplayWidth(u"\U00020BB7"), 2u);  // an ideograph beyond the first plane
}

TEST(CliProgress, LineShowsTheCountAndKeepsTheEndOfLongNames) {
  EXPECT_EQ(ProgressBar::Line(0, 4, "", 79), "[........................] 0/4");
  EXPECT_EQ(ProgressBar::Line(1, 4, "src/a.jww", 79), "[######..................] 1/4  src/a.jww");
  EXPECT_EQ(ProgressBar::Line(4, 4, "a.jww", 79), "[########################] 4/4  a.jww");
  EXPECT_EQ(ProgressBar::Line(0, 0, "", 79), "[########################] 0/0");
  // Within the columns, the beginning of the path gives way; characters stay whole.
  const std::string longName = std::string(60, 'd') + "/図面ファイル.jww";
  for (const std::size_t columns : {79u, 60u, 50u}) {
    const std::string line = ProgressBar::Line(2, 4, longName, columns);
    SCOPED_TRACE(line);
    EXPECT_LE(DisplayWidth(FromUtf8(line)), columns);
    EXPECT_NE(line.find("  ..."), std::string::npos);
    EXPECT_EQ(line.substr(line.size() - 4), ".jww");
    EXPECT_EQ(ToUtf8(FromUtf8(line)), line);  // no character cut in half
  }
  EXPECT_EQ(ProgressBar::Line(2, 4, "\U00020BB7\U00020BB7\U00020BB7.jww", 41), "[############............] 2/4  ...\U00020BB7.jww");
}

}  // namespace
}  // namespace plandown::cli
