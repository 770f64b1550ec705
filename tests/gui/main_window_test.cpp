// The main window on a temporary program folder: start-up and the settings file, the
// folder tree and its polling, the file list's filter, sort and opening, the settings
// dialog bracket, converting and the refusals.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dirctrl.h>
#include <wx/listctrl.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "app/folder_tree.h"
#include "app/settings_dialog.h"
#include "app/window_texts.h"
#include "app/wx_text.h"
#include "convert/file_listing.h"
#include "convert/status_texts.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "util/paths.h"
#include "util/text.h"
#include "window_harness.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using app::FromWx;
using testing::Click;
using testing::MainWindowHarness;
using testing::TempDir;
using testing::WaitFor;

// A shape of one line, as 7.00.
bool WriteShape(const fs::path& path) {
  TJwsData shape;
  shape.Enthd.jwVer = 700;
  testing::ListBuilder(MainList(shape)).Add(testing::Line(0, 0, 10, 0));
  shape.Enthd.n1 = static_cast<std::int32_t>(shape.EntNo.size());
  return shape.FileOut(FromFsPath(path), 700);
}

// A folder of files of every kind the list tells apart.
struct DrawingFolder {
  DrawingFolder() {
    EXPECT_TRUE(testing::WritePlan(FromFsPath(dir.path() / "plan.jww"), 700));
    EXPECT_TRUE(testing::WritePlan(FromFsPath(dir.path() / "old.jww"), 300));
    EXPECT_TRUE(WriteShape(dir.path() / "part.jws"));
    testing::WriteBytes(dir.path() / "notes.txt", std::string(999, 'n'));
    testing::WriteBytes(dir.path() / "more.txt", std::string(1000, 'm'));
  }
  String folder() const { return FromFsPath(dir.path()); }
  String file(const char* name) const { return FromFsPath(dir.path() / name); }
  TempDir dir;
};

std::string Hex(const String& folder) { return ToUtf8(EncodeHexText(folder)); }

// A settings file naming the reference and destination folders, the rest at defaults.
std::vector<std::string> SettingsWith(const String& preFolder, const String& destination, int filter = 0) {
  return {"64", "64", "600", "520", "200", Hex(preFolder), Hex(destination), std::to_string(filter),
          "80", "80", "80", "80", "80", "80", "64", "64", "0", "0", "0", "0", "75"};
}

std::set<String> AsSet(const std::vector<String>& v) { return {v.begin(), v.end()}; }

int VersionOf(const String& path) {
  TJwwData d;
  if (d.FileCheck(path) && d.FileHeaderIn(path)) return d.Enthd.jwVer;
  TJwsData s;
  if (s.FileCheck(path) && s.FileHeaderIn(path)) return s.Enthd.jwVer;
  return 0;
}

TEST(MainWindow, FirstStartShowsTheDefaultsAndWritesTheSettingsFileOnClose) {
  MainWindowHarness h;
  app::TForm1& form = h.Open();
  EXPECT_EQ(FromWx(form.GetTitle()), app::kMainCaption);
  EXPECT_EQ(form.GetPosition(), wxPoint(64, 64));
  // As wide as the command area needs beside the tree; the saved width when that is more.
  EXPECT_GE(form.GetSize().x, 600);
  EXPECT_EQ(form.GetSize().y, 520);
  EXPECT_EQ(form.Splitter1->GetSashPosition(), 200);
  for (int c = 0; c < kFileListColumns; ++c) EXPECT_EQ(form.ListView1->GetColumnWidth(c), 80) << c;
  EXPECT_EQ(FromWx(form.Label1->GetLabelText()), u"参照フォルダ：");
  EXPECT_EQ(form.ListView1->GetItemCount(), 0);
  EXPECT_EQ(form.ComboBox1->GetSelection(), 0);
  EXPECT_EQ(form.StatusText(), kSearchingText);
  EXPECT_TRUE(form.Timer1->IsRunning());
  EXPECT_TRUE(fs::is_directory(h.program.path() / "TEMP"));
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
  EXPECT_EQ(lines[14], "64");
  EXPECT_EQ(lines[15], "64");
  EXPECT_EQ(lines[20], "75");
  // The temporary folder goes when empty.
  EXPECT_FALSE(fs::exists(h.program.path() / "TEMP"));
}

TEST(MainWindow, SavedSettingsComeBackAndAreWrittenAgain) {
  DrawingFolder drawings;
  TempDir out;
  const fs::path japanese = out.path() / u8"図面";
  fs::create_directories(japanese);
  MainWindowHarness h;
  const std::vector<std::string> saved = {
      "90", "70", "900", "600", "260", Hex(drawings.folder()), Hex(FromFsPath(japanese)), "2",
      "150", "60", "120", "140", "70", "50", "120", "110", "2", "1", "1", "3", "40"};
  h.WriteSettings(saved);
  app::TForm1& form = h.Open();
  EXPECT_EQ(form.GetRect(), wxRect(90, 70, 900, 600));
  EXPECT_EQ(form.Splitter1->GetSashPosition(), 260);
  EXPECT_EQ(form.ListView1->GetColumnWidth(0), 150);
  EXPECT_EQ(form.ListView1->GetColumnWidth(5), 50);
  EXPECT_EQ(form.preFolder, drawings.folder());
  EXPECT_EQ(FromWx(form.Label1->GetLabelText()), u"参照フォルダ：" + drawings.folder());
  EXPECT_EQ(FromWx(form.Edit1->GetValue()), FromFsPath(japanese));
  EXPECT_EQ(form.ComboBox1->GetSelection(), 2);
  // Filter 2 lists the drawings only.
  EXPECT_EQ(AsSet(h.Captions()), (std::set<String>{u"plan.jww", u"old.jww"}));
  EXPECT_EQ(form.StatusText(), u"ファイル検索しました（ファイル数：2）");
  EXPECT_EQ(form.Settings().Conversion.JpegQuality, 40);
  h.Close();
  EXPECT_EQ(h.SettingsLines(), saved);
}

TEST(MainWindow, WindowsThatWouldNotShowComeBackOntoTheDisplay) {
  MainWindowHarness h;
  std::vector<std::string> lines = SettingsWith(u"", u"");
  lines[0] = "5000";
  lines[1] = "-4000";
  lines[14] = "-3000";
  lines[15] = "9000";
  h.WriteSettings(lines);
  app::TForm1& form = h.Open();
  EXPECT_EQ(form.GetPosition(), wxPoint(64, 64));
  EXPECT_EQ(form.Form2->GetPosition(), wxPoint(64, 64));
}

TEST(MainWindow, AFolderChosenInTheTreeIsListedWithinAFewTicks) {
  DrawingFolder drawings;
  MainWindowHarness h;
  app::TForm1& form = h.Open();
  app::TplExplorerFolderTree& tree = *form.plExplorerFolderTree1;

  // Nothing is chosen at first, so the file system's root (on Windows the drive's) can be
  // chosen like any folder.
  const String root = FromFsPath(std::filesystem::path(ToFsPath(drawings.folder())).root_path());
  tree.DirCtrl()->ExpandPath(app::Wx(root));
  EXPECT_EQ(tree.SelectFolder(), root);

  // Selecting by code marks the folder but is no choice of the user's.
  tree.SetSelectFolder(drawings.folder());
  EXPECT_EQ(tree.DirCtrl()->GetPath(), app::Wx(drawings.folder()));
  EXPECT_EQ(tree.SelectFolder(), root);
  tree.SetSelectFolder(drawings.folder() + u"/missing");
  EXPECT_EQ(tree.DirCtrl()->GetPath(), app::Wx(drawings.folder()));

  // The user's choice, as the tree reports a click.
  tree.DirCtrl()->UnselectAll();
  tree.DirCtrl()->ExpandPath(app::Wx(drawings.folder()));
  EXPECT_EQ(tree.SelectFolder(), drawings.folder());
  ASSERT_TRUE(WaitFor([&] { return form.preFolder == drawings.folder(); }, std::chrono::seconds(3)));
  EXPECT_EQ(h.Captions().size(), 5u);
  EXPECT_EQ(FromWx(form.Label1->GetLabelText()), u"参照フォルダ：" + drawings.folder());
  EXPECT_EQ(form.StatusText(), u"ファイル検索しました（ファイル数：5）");
  EXPECT_TRUE(form.Timer1->IsRunning());

  // While the tree is stopped, a choice is not taken up.
  TempDir other;
  tree.IdleStop();
  tree.DirCtrl()->ExpandPath(app::Wx(FromFsPath(other.path())));
  tree.IdleRestart();
  EXPECT_EQ(tree.SelectFolder(), drawings.folder());
}

TEST(MainWindow, TheListShowsDetailsFiltersAndSortsByColumn) {
  DrawingFolder drawings;
  MainWindowHarness h;
  h.WriteSettings(SettingsWith(drawings.folder(), u""));
  app::TForm1& form = h.Open();
  ASSERT_EQ(h.Rows().size(), 5u);
  EXPECT_EQ(form.ListView1->GetColumnCount(), kFileListColumns);
  wxListItem header;
  header.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_FORMAT);
  ASSERT_TRUE(form.ListView1->GetColumn(kColumnSize, header));
  EXPECT_EQ(FromWx(header.GetText()), u"サイズ");
  EXPECT_EQ(header.GetAlign(), wxLIST_FORMAT_RIGHT);
  EXPECT_TRUE(form.ListView1->HasFlag(wxLC_HRULES) && form.ListView1->HasFlag(wxLC_VRULES));
  EXPECT_FALSE(form.ListView1->HasFlag(wxLC_SINGLE_SEL));

  // Type filter "Jw_cad 図形ファイル (*.jws)".
  testing::Choose(form.ComboBox1, 3);
  const auto shapes = h.Rows();
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0][kColumnName], u"part.jws");
  EXPECT_EQ(shapes[0][kColumnType], u".jws");
  EXPECT_EQ(shapes[0][kColumnMemo], u"");
  EXPECT_EQ(shapes[0][kColumnVersion], u"700");
  testing::Choose(form.ComboBox1, 0);
  ASSERT_EQ(h.Rows().size(), 5u);

  // The size column sorts by magnitude; the direction flips on every click.
  const auto sizes = [&] {
    std::vector<long long> v;
    for (const auto& row : h.Rows()) v.push_back(std::stoll(ToUtf8(row[kColumnSize])));
    return v;
  };
  testing::ClickColumn(form.ListView1, kColumnSize);
  auto v = sizes();
  EXPECT_TRUE(std::is_sorted(v.rbegin(), v.rend())) << "first click: descending";
  EXPECT_EQ(form.ListView1->GetSortIndicator(), kColumnSize);
  EXPECT_FALSE(form.ListView1->IsAscendingSortIndicator());
  testing::ClickColumn(form.ListView1, kColumnSize);
  v = sizes();
  EXPECT_TRUE(std::is_sorted(v.begin(), v.end())) << "second click: ascending";
  const auto captions = h.Captions();
  EXPECT_LT(std::find(captions.begin(), captions.end(), u"notes.txt"), std::find(captions.begin(), captions.end(), u"more.txt"))
      << "999 bytes before 1000";
  testing::ClickColumn(form.ListView1, kColumnName);
  EXPECT_EQ(h.Captions(), (std::vector<String>{u"plan.jww", u"part.jws", u"old.jww", u"notes.txt", u"more.txt"}));

  // A memo and versions read from the headers.
  for (const auto& row : h.Rows()) {
    if (row[kColumnName] == u"plan.jww") {
      EXPECT_EQ(row[kColumnMemo], u"サンプル平面図Plandownexample");
      EXPECT_EQ(row[kColumnVersion], u"700");
    }
    if (row[kColumnName] == u"notes.txt") {
      EXPECT_EQ(row[kColumnVersion], u"");
    }
  }
}

TEST(MainWindow, DoubleClickOpensTheCurrentFileOrSaysWhatIsMissing) {
  DrawingFolder drawings;
  {
    MainWindowHarness h;
    app::TForm1& form = h.Open();
    form.ListView1DblClick();
    ASSERT_EQ(h.recorder.messages.size(), 1u);
    EXPECT_EQ(h.recorder.messages[0].text, kNoReferenceFolderText);
    EXPECT_EQ(h.recorder.messages[0].kind, app::MessageKind::kError);
    EXPECT_EQ(h.recorder.beeps, 1);
    EXPECT_EQ(form.StatusText(), kNoReferenceFolderText);
  }
  MainWindowHarness h;
  h.WriteSettings(SettingsWith(drawings.folder(), u""));
  app::TForm1& form = h.Open();
  form.ListView1DblClick();
  ASSERT_EQ(h.recorder.messages.size(), 1u);
  EXPECT_EQ(h.recorder.messages[0].text, kNoFileChosenText);
  EXPECT_EQ(h.recorder.beeps, 0);

  h.SelectRows({u"plan.jww"});
  wxListEvent activated(wxEVT_LIST_ITEM_ACTIVATED, form.ListView1->GetId());
  activated.SetEventObject(form.ListView1);
  form.ListView1->ProcessWindowEvent(activated);
  const String path = AddPathDelim(drawings.folder()) + u"plan.jww";
  EXPECT_EQ(h.recorder.opened, std::vector<String>{path});
  EXPECT_EQ(form.StatusText(), u"ファイル「" + path + u"」");
  EXPECT_EQ(h.recorder.messages.size(), 1u);
}

TEST(MainWindow, ConvertWritesTheSelectedFilesIntoTheChosenFolder) {
  DrawingFolder drawings;
  TempDir out;
  MainWindowHarness h;
  h.WriteSettings(SettingsWith(drawings.folder(), u""));
  app::TForm1& form = h.Open();

  h.recorder.folderToChoose = FromFsPath(out.path());
  Click(form.Button1);
  EXPECT_EQ(h.recorder.browseTitles, std::vector<String>{String(app::kBrowseTitle)});
  EXPECT_EQ(FromWx(form.Edit1->GetValue()), FromFsPath(out.path()));

  h.SelectRows({u"plan.jww", u"part.jws", u"old.jww", u"notes.txt"});
  Click(form.ButtonT);
  EXPECT_EQ(form.StatusText(), u"2個のファイルを変換しました。");
  ASSERT_EQ(h.recorder.messages.size(), 1u);
  EXPECT_EQ(h.recorder.messages[0].text, UnsupportedExtensionText(u"notes.txt", u".txt"));
  EXPECT_EQ(VersionOf(FromFsPath(out.path() / "plan.jww")), 600);
  EXPECT_EQ(VersionOf(FromFsPath(out.path() / "part.jws")), 600);
  EXPECT_FALSE(fs::exists(out.path() / "old.jww"));
  EXPECT_FALSE(fs::exists(out.path() / "notes.txt"));
  EXPECT_TRUE(form.Timer1->IsRunning());
  EXPECT_TRUE(fs::is_empty(h.program.path() / "TEMP"));

  // No row selected: nothing converted, and the count says so.
  h.SelectRows({});
  Click(form.ButtonT);
  EXPECT_EQ(form.StatusText(), u"0個のファイルを変換しました。");
}

TEST(MainWindow, ConvertRefusesAMissingOrWrongDestination) {
  DrawingFolder drawings;
  const struct {
    const char* name;
    String destination;
    std::u16string_view message;
  } cases[] = {
      {"no destination", u"", kNoDestinationText},
      {"destination missing", drawings.folder() + u"/nowhere", kDestinationMissingText},
      {"destination is the reference folder", drawings.folder() + u"/", kDestinationIsSourceText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MainWindowHarness h;
    h.WriteSettings(SettingsWith(drawings.folder(), c.destination));
    app::TForm1& form = h.Open();
    h.SelectRows({u"plan.jww"});
    form.ButtonT->SetFocus();
    Click(form.ButtonT);
    ASSERT_EQ(h.recorder.messages.size(), 1u);
    EXPECT_EQ(h.recorder.messages[0].text, c.message);
    EXPECT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == form.Button1; }, std::chrono::seconds(2)))
        << "the focus is not on the destination button";
    EXPECT_NE(form.StatusText(), u"1個のファイルを変換しました。");
  }
}

TEST(MainWindow, TheSettingsDialogRunsWithPollingAndTreeStopped) {
  MainWindowHarness h;
  app::TForm1& form = h.Open();
  bool sawBracket = false;
  form.Form2->CallAfter([&] {
    sawBracket = form.Form2->IsModal() && !form.Timer1->IsRunning() && form.plExplorerFolderTree1->Suspended();
    form.Form2->ComboBox1->SetSelection(2);
    form.Form2->Move(120, 100);
    Click(form.Form2->Button1);
  });
  Click(form.Button2);
  EXPECT_TRUE(sawBracket);
  EXPECT_FALSE(form.Form2->IsShown());
  EXPECT_TRUE(form.Timer1->IsRunning());
  EXPECT_FALSE(form.plExplorerFolderTree1->Suspended());
  EXPECT_EQ(form.Settings().Conversion.OutVersionIndex, 2);
  h.Close();
  const auto lines = h.SettingsLines();
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[14], "120");
  EXPECT_EQ(lines[15], "100");
  EXPECT_EQ(lines[16], "2");
}

// The pictures in the documentation: a listed folder of drawings, and the dialog.
TEST(MainWindow, Screenshot) {
  if (std::getenv("PLANDOWN_SCREENSHOTS") == nullptr) GTEST_SKIP() << "PLANDOWN_SCREENSHOTS not set";
  TempDir root;
  const fs::path folder = root.path() / u8"図面";
  const fs::path destination = root.path() / u8"旧形式";
  fs::create_directories(destination);
  fs::create_directories(folder);
  // UTF-8 literals: a plain one would be taken in the ANSI code page on Windows.
  const char8_t* names[] = {u8"1階平面図.jww", u8"2階平面図.jww", u8"配置図.jww"};
  for (const char8_t* name : names) ASSERT_TRUE(testing::WritePlan(FromFsPath(folder / name), 700));
  ASSERT_TRUE(testing::WritePlan(FromFsPath(folder / u8"旧図面.jww"), 420));
  ASSERT_TRUE(WriteShape(folder / u8"窓.jws"));

  MainWindowHarness h;
  h.WriteSettings({"0", "0", "900", "560", "220", Hex(FromFsPath(folder)), Hex(FromFsPath(destination)), "0",
                   "120", "50", "220", "150", "70", "50", "64", "64", "0", "0", "0", "0", "75"});
  app::TForm1& form = h.Open();
  testing::ClickColumn(form.ListView1, kColumnName);
  testing::ClickColumn(form.ListView1, kColumnName);
  h.SelectRows({u"1階平面図.jww", u"2階平面図.jww"});
  testing::SaveScreenshot(&form, "main-window.png");
  form.Form2->CallAfter([&] {
    testing::SaveScreenshot(form.Form2, "settings-dialog.png");
    Click(form.Form2->Button2);
  });
  Click(form.Button2);
}

}  // namespace
}  // namespace plandown
