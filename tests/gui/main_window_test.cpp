// The main window on a temporary program folder: start-up and the settings file, the
// folder tree and polling, the file list's filter and sort, opening, converting and the
// refusals.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dirctrl.h>
#include <wx/listctrl.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <filesystem>

#include "app/folder_tree.h"
#include "app/settings_dialog.h"
#include "app/wx_text.h"
#include "convert/file_listing.h"
#include "convert/status_texts.h"
#include "jws/jws_data.h"
#include "support/drawing_builder.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "util/paths.h"
#include "window_harness.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using app::FromWx;
using testing::Click;
using testing::MainWindowHarness;
using testing::TempDir;
using testing::WaitFor;

// A folder of files of every kind the list knows.
struct DrawingFolder {
  DrawingFolder() {
    EXPECT_TRUE(testing::WritePlan(FromFsPath(dir.path() / "plan.jww"), 700));
    EXPECT_TRUE(testing::WritePlan(FromFsPath(dir.path() / "old.jww"), 300));
    TJwsData shape;
    shape.Enthd.jwVer = 700;
    testing::ListBuilder(MainList(shape)).Add(testing::Line(0, 0, 10, 0));
    shape.Enthd.n1 = static_cast<std::int32_t>(shape.EntNo.size());
    EXPECT_TRUE(shape.FileOut(FromFsPath(dir.path() / "part.jws"), 700));
    testing::WriteBytes(dir.path() / "notes.txt", "not a drawing");
  }
  String folder() const { return FromFsPath(dir.path()); }
  TempDir dir;
};

TEST(MainWindow, FirstStartShowsTheDefaultsAndWritesTheSettingsFileOnClose) {
  MainWindowHarness h;
  app::TForm1& form = h.Open();
  EXPECT_EQ(form.GetPosition(), wxPoint(64, 64));
  EXPECT_GE(form.GetSize().x, 600);
  EXPECT_EQ(form.GetSize().y, 520);
  EXPECT_EQ(form.Splitter1->GetSashPosition(), 200);
  for (int c = 0; c < kFileListColumns; ++c) EXPECT_EQ(form.ListView1->GetColumnWidth(c), 80) << c;
  EXPECT_EQ(FromWx(form.Label1->GetLabelText()), u"参照フォルダ：");
  EXPECT_EQ(form.ListView1->GetItemCount(), 0);
  EXPECT_EQ(form.ComboBox1->GetSelection(), 0);
  EXPECT_EQ(form.StatusText(), kSearchingText);
  EXPECT_TRUE(fs::is_directory(h.program.path() / "TEMP"));
  testing::SaveScreenshot(&form, "first-start.png");
  fprintf(stderr, "client %d %d\n", form.GetClientSize().x, form.GetClientSize().y);
  h.Close();

  const std::vector<std::string> lines = h.SettingsLines();
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[0], "64");
  EXPECT_EQ(lines[1], "64");
  EXPECT_EQ(lines[3], "520");
  EXPECT_EQ(lines[4], "200");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "0");
  for (int i = 8; i < 14; ++i) EXPECT_EQ(lines[static_cast<std::size_t>(i)], "80") << i;
  EXPECT_EQ(lines[20], "75");
  EXPECT_FALSE(fs::exists(h.program.path() / "TEMP"));
}

}  // namespace
}  // namespace plandown
