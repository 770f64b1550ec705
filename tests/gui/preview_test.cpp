// The preview pane of the main window: it follows the selection, says what it cannot
// show, keeps its switches in the settings file, shows the drawing after conversion, and
// shows the newest choice only, with a note while a file is read.
#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/splitter.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/preview_pane.h"
#include "convert/picture_source.h"
#include "app/window_texts.h"
#include "app/wx_text.h"
#include "support/circle_solids.h"
#include "support/file_text.h"
#include "util/paths.h"
#include "util/text.h"
#include "demo_home.h"
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



// The scene point under a window point stays there, to rounding.
void ExpectSameUnder(const raster::ViewTransform& before, const raster::ViewTransform& after, wxPoint at) {
  const render::Point p{static_cast<double>(at.x), static_cast<double>(at.y)};
  const render::Point a = before.ToScene(p), b = after.ToScene(p);
  EXPECT_NEAR(a.x, b.x, 1e-9 * std::max(1.0, std::fabs(a.x)));
  EXPECT_NEAR(a.y, b.y, 1e-9 * std::max(1.0, std::fabs(a.y)));
}

void SendKey(wxWindow& w, wxEventType type, int key, wxChar unicode = 0) {
  wxKeyEvent e(type);
  e.m_keyCode = key;
  e.m_uniChar = unicode;
  e.SetEventObject(&w);
  w.GetEventHandler()->ProcessEvent(e);
}

void SendMouse(wxWindow& w, wxEventType type, wxPoint at, int wheel = 0) {
  wxMouseEvent e(type);
  e.SetPosition(at);
  e.m_x = at.x;
  e.m_y = at.y;
  e.m_leftDown = type == wxEVT_LEFT_DOWN || type == wxEVT_MOTION;
  if (wheel != 0) {
    e.m_wheelRotation = wheel;
    e.m_wheelDelta = 120;
    e.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
  }
  e.SetEventObject(&w);
  w.GetEventHandler()->ProcessEvent(e);
}


TEST(PreviewPane, ZoomsPansAndFitsWithMouseAndKeys) {
  PreviewFolder files;
  MainWindowHarness h;
  h.WriteSettings(PreviewSettings(files.folder()));
  app::TForm1& form = h.Open();
  TPreviewPane& pane = *form.PreviewPane;
  h.SelectRows({u"sxf_details.jww"});
  ASSERT_TRUE(Shows(pane, files.file(u"sxf_details.jww")));
  ASSERT_EQ(pane.GetState(), TPreviewPane::State::kPicture);
  const wxSize client = pane.GetClientSize();
  const raster::ViewTransform fitted = pane.View();
  EXPECT_TRUE(fitted.Fitted());
  // The whole scene lies within the pane.
  const auto& b = pane.Scene()->bounds;
  for (const render::Point corner : {render::Point{b.minX, b.minY}, render::Point{b.maxX, b.maxY}}) {
    const render::Point w = fitted.ToWindow(corner);
    EXPECT_GE(w.x, -0.5);
    EXPECT_GE(w.y, -0.5);
    EXPECT_LE(w.x, client.x + 0.5);
    EXPECT_LE(w.y, client.y + 0.5);
  }
  const wxImage whole = pane.Picture().ConvertToImage();

  // Two wheel notches up zoom in about the pointer, one down zooms back out.
  const wxPoint pointer(client.x / 3, client.y / 4);
  SendMouse(pane, wxEVT_MOUSEWHEEL, pointer, 240);
  EXPECT_NEAR(pane.View().Scale(), fitted.Scale() * TPreviewPane::kZoomStep * TPreviewPane::kZoomStep, 1e-12);
  ExpectSameUnder(fitted, pane.View(), pointer);
  const wxImage zoomed = pane.Picture().ConvertToImage();
  EXPECT_EQ(zoomed.GetSize(), client);
  EXPECT_NE(std::memcmp(whole.GetData(), zoomed.GetData(), static_cast<std::size_t>(client.x) * client.y * 3), 0);
  const raster::ViewTransform in = pane.View();
  SendMouse(pane, wxEVT_MOUSEWHEEL, pointer, -120);
  EXPECT_NEAR(pane.View().Scale(), in.Scale() / TPreviewPane::kZoomStep, 1e-12);
  ExpectSameUnder(in, pane.View(), pointer);

  // + and - (typed or on the keypad) zoom about the middle.
  const wxPoint middle(client.x / 2, client.y / 2);
  struct KeyCase {
    wxEventType type;
    int key;
    wxChar unicode;
    double factor;
  };
  for (const KeyCase& c : {KeyCase{wxEVT_CHAR, '+', '+', TPreviewPane::kZoomStep},
                           KeyCase{wxEVT_CHAR, '-', '-', 1 / TPreviewPane::kZoomStep},
                           KeyCase{wxEVT_KEY_DOWN, WXK_NUMPAD_ADD, 0, TPreviewPane::kZoomStep},
                           KeyCase{wxEVT_KEY_DOWN, WXK_NUMPAD_SUBTRACT, 0, 1 / TPreviewPane::kZoomStep}}) {
    const raster::ViewTransform before = pane.View();
    SendKey(pane, c.type, c.key, c.unicode);
    EXPECT_NEAR(pane.View().Scale(), before.Scale() * c.factor, 1e-12) << c.key;
    ExpectSameUnder(before, pane.View(), middle);
  }

  // A drag moves the drawing with the pointer, at the same scale.
  const raster::ViewTransform beforeDrag = pane.View();
  SendMouse(pane, wxEVT_LEFT_DOWN, wxPoint(50, 50));
  SendMouse(pane, wxEVT_MOTION, wxPoint(70, 40));
  SendMouse(pane, wxEVT_MOTION, wxPoint(90, 45));
  SendMouse(pane, wxEVT_LEFT_UP, wxPoint(90, 45));
  EXPECT_EQ(pane.View().Scale(), beforeDrag.Scale());
  EXPECT_DOUBLE_EQ(pane.View().OffsetX(), beforeDrag.OffsetX() + 40);
  EXPECT_DOUBLE_EQ(pane.View().OffsetY(), beforeDrag.OffsetY() - 5);
  EXPECT_FALSE(pane.View().Fitted());

  // Zooming stays within its limits.
  for (int i = 0; i < 100; ++i) SendMouse(pane, wxEVT_MOUSEWHEEL, pointer, 120);
  EXPECT_NEAR(pane.View().Zoom(), raster::ViewTransform::kMaxZoom, 1e-9);
  for (int i = 0; i < 100; ++i) SendMouse(pane, wxEVT_MOUSEWHEEL, pointer, -120);
  EXPECT_NEAR(pane.View().Zoom(), raster::ViewTransform::kMinZoom, 1e-9);

  // Home, a double click and a newly chosen file each give the whole drawing again.
  auto expectFitted = [&](const char* what) {
    EXPECT_TRUE(pane.View().Fitted()) << what;
    EXPECT_DOUBLE_EQ(pane.View().Scale(), fitted.Scale()) << what;
    EXPECT_DOUBLE_EQ(pane.View().OffsetX(), fitted.OffsetX()) << what;
    EXPECT_DOUBLE_EQ(pane.View().OffsetY(), fitted.OffsetY()) << what;
  };
  SendKey(pane, wxEVT_KEY_DOWN, WXK_HOME);
  expectFitted("Home");
  pane.Pan(10, 10);
  SendMouse(pane, wxEVT_LEFT_DCLICK, middle);
  expectFitted("double click");
  pane.ZoomAbout(3, middle);
  h.SelectRows({u"plan.jww"});
  ASSERT_TRUE(Shows(pane, files.file(u"plan.jww")));
  h.SelectRows({u"sxf_details.jww"});
  ASSERT_TRUE(Shows(pane, files.file(u"sxf_details.jww")));
  expectFitted("new selection");
  EXPECT_EQ(std::memcmp(whole.GetData(), pane.Picture().ConvertToImage().GetData(),
                        static_cast<std::size_t>(client.x) * client.y * 3),
            0);
  h.Close();
}

// Filled circles, ellipses and sectors show in the pane where the drawing has them, in
// their own colours, and the pane's scene spans the drawing's extent, nothing beyond.
TEST(PreviewPane, CircleSolidsShowWhereTheDrawingHasThem) {
  testing::TempDir dir;
  TJwwData d;
  std::vector<testing::CircleSolidCase> cases;
  testing::CircleSolidDrawing(d, &cases);
  const String folder = FromFsPath(dir.path());
  const String path = AddPathDelim(folder) + u"discs.jww";
  ASSERT_TRUE(d.FileOut(path, 700));
  MainWindowHarness h;
  h.WriteSettings(PreviewSettings(folder));
  app::TForm1& form = h.Open();
  TPreviewPane& pane = *form.PreviewPane;
  h.SelectRows({u"discs.jww"});
  ASSERT_TRUE(Shows(pane, path));
  ASSERT_EQ(pane.GetState(), TPreviewPane::State::kPicture);
  const render::Extent& b = pane.Scene()->bounds;
  const render::Extent& e = testing::kCircleSolidDrawingExtent;
  // The scene is the drawing's extent at one scale (y downwards): no wedge reaches out.
  EXPECT_NEAR((b.maxX - b.minX) / (b.maxY - b.minY), (e.maxX - e.minX) / (e.maxY - e.minY), 0.02);
  const double scale = (b.maxX - b.minX) / (e.maxX - e.minX);
  const wxImage image = pane.Picture().ConvertToImage();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const render::Point at = c.At(0.5, c.start + c.sweep / 2);
    const render::Point w =
        pane.View().ToWindow({b.minX + (at.x - e.minX) * scale, b.minY + (e.maxY - at.y) * scale});
    const int x = static_cast<int>(std::lround(w.x)), y = static_cast<int>(std::lround(w.y));
    ASSERT_TRUE(x >= 0 && y >= 0 && x < image.GetWidth() && y < image.GetHeight());
    EXPECT_NEAR(image.GetRed(x, y), c.fill.r, 8);
    EXPECT_NEAR(image.GetGreen(x, y), c.fill.g, 8);
    EXPECT_NEAR(image.GetBlue(x, y), c.fill.b, 8);
  }
}

TEST(PreviewPane, TheSashOverThePreviewIsKeptThroughARestart) {
  PreviewFolder files;
  MainWindowHarness h;
  h.WriteSettings(PreviewSettings(files.folder()));
  int moved = 0;
  {
    app::TForm1& form = h.Open();
    ASSERT_TRUE(form.PreviewSplitter->IsSplit());
    // A first start gives the preview at least 40 % of the window's height.
    EXPECT_GE(form.PreviewPane->GetSize().y, form.GetSize().y * 2 / 5);
    // The user drags the sash down by 60 pixels.
    moved = form.PreviewSplitter->GetSashPosition() + 60;
    wxSplitterEvent drag(wxEVT_SPLITTER_SASH_POS_CHANGING, form.PreviewSplitter);
    drag.SetSashPosition(moved);
    form.PreviewSplitter->GetEventHandler()->ProcessEvent(drag);
    form.PreviewSplitter->SetSashPosition(moved);
    wxSplitterEvent e(wxEVT_SPLITTER_SASH_POS_CHANGED, form.PreviewSplitter);
    e.SetSashPosition(moved);
    form.PreviewSplitter->GetEventHandler()->ProcessEvent(e);
    wxYield();
    EXPECT_EQ(form.PreviewSplitter->GetSashPosition(), moved);
    h.Close();
  }
  std::vector<std::string> lines = h.SettingsLines();
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines[23], std::to_string(moved));
  {
    app::TForm1& form = h.Open();
    EXPECT_EQ(form.PreviewSplitter->GetSashPosition(), moved);
    // Off and on again, the pane comes back under the same sash.
    testing::Tick(form.PreviewCheck, false);
    EXPECT_FALSE(form.PreviewSplitter->IsSplit());
    testing::Tick(form.PreviewCheck, true);
    EXPECT_EQ(form.PreviewSplitter->GetSashPosition(), moved);
    h.Close();
  }
  EXPECT_EQ(h.SettingsLines().size(), 24u);
}

// The window's first sizes (before a window manager has placed it) and a window shrunk
// for a while move the sash only as long as the height makes them; the chosen one stays.
TEST(PreviewPane, TheChosenSashComesBackWhenTheWindowIsTallEnoughAgain) {
  PreviewFolder files;
  MainWindowHarness h;
  std::vector<std::string> lines = PreviewSettings(files.folder());
  lines.push_back("260");
  h.WriteSettings(lines);
  app::TForm1& form = h.Open();
  testing::Settle();
  EXPECT_EQ(form.PreviewSplitter->GetSashPosition(), 260);
  const wxSize client = form.GetClientSize();
  form.SetClientSize(client.x, form.NeededClientSize().y);
  ASSERT_TRUE(WaitFor([&] { return form.PreviewSplitter->GetSashPosition() < 260; }, std::chrono::seconds(3)));
  EXPECT_GE(form.PreviewPane->GetSize().y, form.FromDIP(120)) << "the preview keeps its least height";
  form.SetClientSize(client);
  EXPECT_TRUE(WaitFor([&] { return form.PreviewSplitter->GetSashPosition() == 260; }, std::chrono::seconds(3)))
      << form.PreviewSplitter->GetSashPosition();
  h.Close();
  lines = h.SettingsLines();
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines[23], "260") << "a sash the window moved was kept as chosen";
}

TEST(PreviewPane, FileAndFolderNamesShowExactly) {
  PreviewFolder files;
  const fs::path odd = files.dir.path() / fs::path(u8"A&B_C");
  fs::create_directory(odd);
  for (const char8_t* name : {u8"06支柱_BX.jws", u8"A&B.jws"})
    fs::copy_file(files.dir.path() / "part.jws", odd / fs::path(name));
  MainWindowHarness h;
  h.WriteSettings(PreviewSettings(FromFsPath(odd)));
  app::TForm1& form = h.Open();
  // What the label shows is the text itself: "&" and "_" are not taken as mnemonics.
  const String folder = FromFsPath(odd);
  EXPECT_EQ(app::FromWx(form.Label1->GetLabelText()), u"参照フォルダ：" + folder);
  EXPECT_EQ(form.Label1->GetLabel(), wxControl::EscapeMnemonics(app::Wx(u"参照フォルダ：" + folder)));
  for (const char16_t* name : {u"06支柱_BX.jws", u"A&B.jws"}) {
    h.SelectRows({name});
    ASSERT_TRUE(Shows(*form.PreviewPane, AddPathDelim(folder) + name));
    const String caption = app::FromWx(form.PreviewInfo->GetLabelText());
    EXPECT_EQ(caption.substr(0, std::char_traits<char16_t>::length(name) + 2), String(name) + u"  ");
    EXPECT_EQ(form.PreviewInfo->GetLabel(), wxControl::EscapeMnemonics(form.PreviewInfo->GetLabelText()));
  }
  h.Close();
}


// Times the views of a large drawing (bench/make_drawing writes one): the scene's
// recording, and a paint of the whole drawing and of zoomed views. Skipped unless
// PLANDOWN_PREVIEW_DRAWING names the drawing.
TEST(PreviewPane, PaintTimesOfALargeDrawing) {
  const char* file = std::getenv("PLANDOWN_PREVIEW_DRAWING");
  if (file == nullptr) GTEST_SKIP() << "PLANDOWN_PREVIEW_DRAWING names no drawing";
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); };
  const auto started = Clock::now();
  PictureSource source;
  ReadForPicture(FromUtf8(file), std::nullopt, source);
  ASSERT_TRUE(source.Drawable());
  const double readMs = ms(started);
  const auto recording = Clock::now();
  raster::KeptScene scene;
  raster::RecordScene(source.Input(), source.images.get(), {}, scene);
  std::printf("read %.0f ms, scene recorded in %.0f ms: %zu items\n", readMs, ms(recording), scene.items.size());
  raster::ViewTransform view;
  view.Fit(scene.bounds, 800, 500, 8);
  // The first paint also starts the fonts.
  for (const double zoom : {1.0, 1.0, 4.0, 16.0, 64.0}) {
    raster::ViewTransform v = view;
    v.ZoomAbout(zoom, {400, 250});
    raster::RasterPicture picture;
    raster::PaintStats stats;
    const auto painting = Clock::now();
    ASSERT_TRUE(raster::PaintScene(scene, v, 800, 500, picture, &stats));
    std::printf("zoom %4.0f: paint %.1f ms (drawn %llu, specks %llu, skipped %llu)\n", zoom, ms(painting),
                static_cast<unsigned long long>(stats.drawn), static_cast<unsigned long long>(stats.specks),
                static_cast<unsigned long long>(stats.skipped));
  }
}


// The README's picture of a zoomed preview of a real drawing.
TEST(PreviewPane, ScreenshotOfAZoomedDrawing) {
  if (std::getenv("PLANDOWN_SCREENSHOTS") == nullptr) GTEST_SKIP() << "PLANDOWN_SCREENSHOTS not set";
  const fs::path sample = fs::path(PLANDOWN_CORPUS_DIR) / "jw_cad" / "sample.jww";
  if (!fs::exists(sample)) GTEST_SKIP() << "no corpus at " << PLANDOWN_CORPUS_DIR;
  // In a user's folder, as the other pictures (another one than theirs: under wine the
  // drawing stays open a while after the window closed).
  const testing::DemoHome home(u8"現場A");
  if (!home.problem().empty()) GTEST_SKIP() << home.problem();
  const fs::path dir = home.drawings();
  fs::copy_file(sample, dir / "sample.jww");
  MainWindowHarness h;
  std::vector<std::string> lines = PreviewSettings(FromFsPath(dir));
  lines[2] = "900";
  h.WriteSettings(lines);
  app::TForm1& form = h.Open();
  h.SelectRows({u"sample.jww"});
  TPreviewPane& pane = *form.PreviewPane;
  ASSERT_TRUE(Shows(pane, FromFsPath(dir / "sample.jww")));
  const wxSize client = pane.GetClientSize();
  pane.ZoomAbout(2.5, wxPoint(client.x * 3 / 4, client.y / 3));
  testing::Settle();
  testing::SaveScreenshot(&form, "preview-zoomed.png");
  h.Close();
}

}  // namespace
}  // namespace plandown
