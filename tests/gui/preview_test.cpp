// The preview pane of the main window: it follows the selection, says what it cannot
// show, keeps its switches in the settings file, shows the drawing after conversion, and
// shows the newest choice only, with a note while a file is read.
#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/preview_pane.h"
#include "app/window_texts.h"
#include "app/wx_text.h"
#include "support/file_text.h"
#include "util/paths.h"
#include "util/text.h"
#include "window_harness.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using app::TPreviewPane;
using testing::MainWindowHarness;
using testing::TempDir;
using testing::WaitFor;

// The bundled examples, a DOS-era drawing, a broken drawing and a text file.
struct PreviewFolder {
  PreviewFolder() {
    for (const char* name : {"plan.jww", "sxf_details.jww", "part.jws", "old_300.jww"})
      fs::copy_file(fs::path(PLANDOWN_SOURCE_DIR) / "examples" / name, dir.path() / name);
    testing::WriteBytes(dir.path() / "dos.jwc", std::string(512, 'd'));
    std::string broken = testing::ReadBytes(dir.path() / "plan.jww");
    broken.resize(broken.size() / 3);
    testing::WriteBytes(dir.path() / "broken.jww", std::string(40, '\x01') + broken);
    testing::WriteBytes(dir.path() / "notes.txt", "notes");
  }
  String folder() const { return FromFsPath(dir.path()); }
  String file(const char16_t* name) const { return AddPathDelim(folder()) + name; }
  TempDir dir;
};

// The settings of a window showing the folder with the preview on (and after conversion
// to `version` when given).
std::vector<std::string> PreviewSettings(const String& folder, bool after = false, int version = 0) {
  std::vector<std::string> lines = testing::SettingsWith(folder, u"");
  lines[3] = "700";  // tall enough for list and pane
  lines[16] = std::to_string(version);
  lines.push_back("1");
  lines.push_back(after ? "1" : "0");
  return lines;
}

// Pixels of the picture that are not the white background.
std::size_t DrawnPixels(const wxBitmap& bitmap) {
  if (!bitmap.IsOk()) return 0;
  const wxImage image = bitmap.ConvertToImage();
  const unsigned char* p = image.GetData();
  std::size_t drawn = 0;
  for (std::size_t i = 0, n = static_cast<std::size_t>(image.GetWidth()) * image.GetHeight(); i < n; ++i, p += 3)
    if (p[0] < 250 || p[1] < 250 || p[2] < 250) ++drawn;
  return drawn;
}

// Waits until the pane has answered for `path`.
bool Shows(const TPreviewPane& pane, const String& path) {
  return WaitFor([&] { return !pane.Busy() && pane.ShownPath() == path; }, std::chrono::seconds(20));
}

TEST(PreviewPane, FollowsTheSelectionAndSaysWhatItCannotShow) {
  PreviewFolder files;
  MainWindowHarness h;
  h.WriteSettings(PreviewSettings(files.folder()));
  app::TForm1& form = h.Open();
  TPreviewPane& pane = *form.PreviewPane;
  ASSERT_TRUE(pane.IsShown());
  EXPECT_TRUE(form.PreviewCheck->IsChecked());
  EXPECT_TRUE(form.AfterCheck->IsEnabled());
  // Nothing selected: a note, no picture.
  EXPECT_EQ(pane.GetState(), TPreviewPane::State::kNone);
  EXPECT_EQ(pane.NoteText(), app::kPreviewNoFile);

  struct Case {
    const char16_t* name;
    bool picture;
  };
  const Case cases[] = {
      {u"plan.jww", true},   {u"part.jws", true},    {u"sxf_details.jww", true}, {u"old_300.jww", true},
      {u"dos.jwc", false},   {u"broken.jww", false}, {u"notes.txt", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.name));
    h.SelectRows({c.name});
    ASSERT_TRUE(Shows(pane, files.file(c.name)));
    if (c.picture) {
      EXPECT_EQ(pane.GetState(), TPreviewPane::State::kPicture);
      EXPECT_EQ(pane.Picture().GetSize(), pane.GetClientSize());
      EXPECT_GT(DrawnPixels(pane.Picture()), 50u);
      EXPECT_EQ(pane.NoteText(), u"");
    } else {
      EXPECT_EQ(pane.GetState(), TPreviewPane::State::kNote);
      EXPECT_FALSE(pane.Picture().IsOk());
      EXPECT_EQ(pane.NoteText(), app::kPreviewUnavailable);
    }
  }

  // Several rows: the first of them in the list's order.
  h.SelectRows({u"sxf_details.jww", u"part.jws"});
  EXPECT_TRUE(Shows(pane, files.file(u"part.jws")));
  // None again.
  h.SelectRows({});
  EXPECT_TRUE(WaitFor([&] { return pane.GetState() == TPreviewPane::State::kNone; }));

  // A larger pane gets a picture of its own size, not the old one stretched.
  h.SelectRows({u"plan.jww"});
  ASSERT_TRUE(Shows(pane, files.file(u"plan.jww")));
  const wxSize before = pane.GetClientSize();
  form.SetSize(form.GetSize() + wxSize(120, 80));
  EXPECT_TRUE(WaitFor([&] {
    return pane.GetClientSize() != before && !pane.Busy() && pane.Picture().GetSize() == pane.GetClientSize();
  })) << "the picture was not drawn again for the new size";
  EXPECT_GT(DrawnPixels(pane.Picture()), 50u);
}

TEST(PreviewPane, ItsSwitchesSurviveARestartAndOldSettingsFilesKeepItOff) {
  PreviewFolder files;
  MainWindowHarness h;
  // A settings file of an older version: 21 lines, preview off.
  h.WriteSettings(testing::SettingsWith(files.folder(), u""));
  {
    app::TForm1& form = h.Open();
    EXPECT_FALSE(form.PreviewCheck->IsChecked());
    EXPECT_FALSE(form.PreviewPane->IsShown());
    EXPECT_FALSE(form.AfterCheck->IsEnabled());
    h.SelectRows({u"plan.jww"});
    testing::Tick(form.PreviewCheck, true);
    EXPECT_TRUE(form.PreviewPane->IsShown());
    EXPECT_TRUE(form.AfterCheck->IsEnabled());
    EXPECT_TRUE(Shows(*form.PreviewPane, files.file(u"plan.jww")));
    // The window holds the list and the pane at their least heights.
    const wxSize needed = form.NeededClientSize();
    EXPECT_GE(form.GetClientSize().y, needed.y);
    EXPECT_GE(form.ListView1->GetSize().y, 60);
    EXPECT_GE(form.PreviewPane->GetSize().y, 100);
    h.Close();
  }
  std::vector<std::string> lines = h.SettingsLines();
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[21], "1");
  EXPECT_EQ(lines[20], "75");

  {
    app::TForm1& form = h.Open();
    EXPECT_TRUE(form.PreviewCheck->IsChecked());
    EXPECT_TRUE(form.PreviewPane->IsShown());
    EXPECT_FALSE(form.AfterCheck->IsChecked());
    testing::Tick(form.AfterCheck, true);
    h.Close();
  }
  lines = h.SettingsLines();
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[21], "1");
  EXPECT_EQ(lines[22], "1");

  {
    app::TForm1& form = h.Open();
    EXPECT_TRUE(form.AfterCheck->IsChecked());
    testing::Tick(form.AfterCheck, false);
    testing::Tick(form.PreviewCheck, false);
    EXPECT_FALSE(form.PreviewPane->IsShown());
    EXPECT_FALSE(form.AfterCheck->IsEnabled());
    h.Close();
  }
  // Both off: the file is the 21 lines older versions write.
  EXPECT_EQ(h.SettingsLines().size(), 21u);
}

TEST(PreviewPane, AfterConversionShowsWhatTheConversionWouldWrite) {
  PreviewFolder files;
  MainWindowHarness h;
  // Target 3.00: SXF colours become standard ones, SXF dimensions are taken apart.
  h.WriteSettings(PreviewSettings(files.folder(), false, 3));
  app::TForm1& form = h.Open();
  TPreviewPane& pane = *form.PreviewPane;
  h.SelectRows({u"sxf_details.jww"});
  ASSERT_TRUE(Shows(pane, files.file(u"sxf_details.jww")));
  ASSERT_EQ(pane.GetState(), TPreviewPane::State::kPicture);
  EXPECT_EQ(pane.SourceVersion(), 700);
  EXPECT_EQ(pane.TargetVersion(), 0);
  EXPECT_EQ(app::FromWx(form.PreviewInfo->GetLabelText()), u"sxf_details.jww  Ver.7.00");
  const wxImage asItIs = pane.Picture().ConvertToImage();
  const std::uint64_t answers = pane.Answers();

  testing::Tick(form.AfterCheck, true);
  ASSERT_TRUE(WaitFor([&] { return pane.Answers() > answers && !pane.Busy(); }, std::chrono::seconds(20)));
  ASSERT_EQ(pane.GetState(), TPreviewPane::State::kPicture);
  EXPECT_EQ(pane.TargetVersion(), 300);
  EXPECT_EQ(app::FromWx(form.PreviewInfo->GetLabelText()), u"sxf_details.jww  Ver.7.00 → 3.00");
  const wxImage converted = pane.Picture().ConvertToImage();
  ASSERT_EQ(converted.GetSize(), asItIs.GetSize());
  std::size_t changed = 0;
  const std::size_t bytes = static_cast<std::size_t>(converted.GetWidth()) * converted.GetHeight() * 3;
  for (std::size_t i = 0; i < bytes; i += 3)
    if (std::memcmp(converted.GetData() + i, asItIs.GetData() + i, 3) != 0) ++changed;
  EXPECT_GT(changed, 20u) << "the picture after conversion is the picture as it is";
  EXPECT_GT(DrawnPixels(pane.Picture()), 50u);

  // A drawing the conversion refuses (older than 3.51) is not shown as if converted.
  h.SelectRows({u"old_300.jww"});
  ASSERT_TRUE(Shows(pane, files.file(u"old_300.jww")));
  EXPECT_EQ(pane.GetState(), TPreviewPane::State::kNote);
  EXPECT_EQ(pane.NoteText(), app::kPreviewNotConverted);

  // Back to the drawing as it is.
  h.SelectRows({u"sxf_details.jww"});
  testing::Tick(form.AfterCheck, false);
  ASSERT_TRUE(Shows(pane, files.file(u"sxf_details.jww")));
  EXPECT_EQ(pane.TargetVersion(), 0);
  const wxImage again = pane.Picture().ConvertToImage();
  ASSERT_EQ(again.GetSize(), asItIs.GetSize());
  EXPECT_EQ(std::memcmp(again.GetData(), asItIs.GetData(), bytes), 0);
}

TEST(PreviewPane, OnlyTheNewestChoiceIsShownAndAWaitSaysSo) {
  PreviewFolder files;
  MainWindowHarness h;
  // The preview's thread is held on the first file it begins, as on a large drawing.
  std::mutex mutex;
  std::vector<String> begun;
  std::atomic<bool> release{false};
  h.previewStarted = [&](const String& path) {
    bool first = false;
    {
      std::lock_guard lock(mutex);
      begun.push_back(path);
      first = begun.size() == 1;
    }
    if (first)
      while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  };
  const auto begunCopy = [&] {
    std::lock_guard lock(mutex);
    return begun;
  };
  h.WriteSettings(PreviewSettings(files.folder()));
  app::TForm1& form = h.Open();
  TPreviewPane& pane = *form.PreviewPane;

  h.SelectRows({u"plan.jww"});
  ASSERT_TRUE(WaitFor([&] { return begunCopy().size() == 1; }));
  // The window goes on answering and says the file is being read.
  EXPECT_TRUE(WaitFor([&] { return pane.GetState() == TPreviewPane::State::kLoading; }, std::chrono::seconds(3)));
  EXPECT_EQ(pane.NoteText(), app::kPreviewLoading);
  // Quickly through two more rows while the first is still being read.
  h.SelectRows({u"part.jws"});
  testing::Settle();
  h.SelectRows({u"sxf_details.jww"});
  testing::Settle();
  release = true;
  ASSERT_TRUE(Shows(pane, files.file(u"sxf_details.jww")));
  EXPECT_EQ(pane.GetState(), TPreviewPane::State::kPicture);
  // Nothing else came: the held file's answer was dropped, the row passed over was never read.
  testing::Settle();
  EXPECT_EQ(pane.Answers(), 1u);
  EXPECT_EQ(pane.ShownPath(), files.file(u"sxf_details.jww"));
  const std::vector<String> read = begunCopy();
  EXPECT_EQ(std::count(read.begin(), read.end(), files.file(u"part.jws")), 0);
  h.Close();
}

}  // namespace
}  // namespace plandown
