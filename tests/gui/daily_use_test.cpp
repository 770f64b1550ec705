// The window as it is used every day: files and folders dropped on it or given as the
// program's arguments, the folder tree following the disk, the folder's headers read
// while the window keeps answering, and convert with nothing selected.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/dirctrl.h>
#include <wx/stattext.h>
#include <wx/listctrl.h>
#include <wx/treectrl.h>

#include <condition_variable>
#include <functional>
#include <filesystem>
#include <mutex>

#include "app/file_drop_target.h"
#include "app/folder_tree.h"
#include "app/window_texts.h"
#include "app/wx_text.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "util/paths.h"
#include "window_harness.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::MainWindowHarness;
using testing::TempDir;
using testing::WaitFor;

// Two folders of drawings with names a desktop gives: Japanese, blanks, "&" and "_".
struct TwoFolders {
  TwoFolders() {
    fs::create_directories(first());
    fs::create_directories(second());
    for (const char* name : {"平面図 1.jww", "A&B_立面.jww", "c.jww"})
      EXPECT_TRUE(testing::WritePlan(FromFsPath(first() / fs::u8path(name)), 700));
    testing::WriteBytes(first() / "memo.txt", "x");
    EXPECT_TRUE(testing::WritePlan(FromFsPath(second() / "other.jww"), 700));
  }
  fs::path first() const { return dir.path() / fs::u8path("現場 A&B_図面"); }
  fs::path second() const { return dir.path() / "other"; }
  String at(const fs::path& p, const char* name = nullptr) const {
    return FromFsPath(name ? p / fs::u8path(name) : p);
  }
  TempDir dir;
};

std::vector<String> SelectedCaptions(app::TForm1& form) {
  std::vector<String> out;
  for (long item = -1; (item = form.ListView1->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) != -1;)
    out.push_back(app::FromWx(form.ListView1->GetItemText(item, 0)));
  return out;
}

// A drop as the desktop delivers it: through the target the window set on a control.
void Drop(wxWindow* on, const std::vector<String>& paths) {
  auto* target = dynamic_cast<app::FileDropTarget*>(on->GetDropTarget());
  ASSERT_NE(target, nullptr);
  wxArrayString names;
  for (const String& p : paths) names.Add(app::Wx(p));
  EXPECT_TRUE(target->OnDropFiles(0, 0, names));
  testing::Settle();
}

TEST(DailyUse, DroppedFoldersAndFilesAreListedSelectedAndWhatIsLeftOutIsNamed) {
  TwoFolders f;
  MainWindowHarness h;
  app::TForm1& form = h.Open();

  // A folder dropped on the list is listed as if chosen in the tree; nothing is selected.
  Drop(form.ListView1, {f.at(f.first())});
  h.WaitForListing();
  EXPECT_EQ(form.preFolder, f.at(f.first()));
  EXPECT_EQ(form.plExplorerFolderTree1->SelectFolder(), f.at(f.first()));
  EXPECT_EQ(h.Captions().size(), 4u);
  EXPECT_TRUE(SelectedCaptions(form).empty());
  EXPECT_TRUE(h.recorder.messages.empty());

  // Files dropped on the tree: their folder listed and they selected; a file of another
  // folder and a missing one are named in a message, not dropped silently.
  Drop(form.plExplorerFolderTree1->DirCtrl()->GetTreeCtrl(),
       {f.at(f.second(), "other.jww"), f.at(f.first(), "c.jww"), f.at(f.second(), "gone.jww")});
  h.WaitForListing();
  EXPECT_EQ(form.preFolder, f.at(f.second()));
  EXPECT_EQ(SelectedCaptions(form), std::vector<String>{u"other.jww"});
  ASSERT_TRUE(WaitFor([&] { return !h.recorder.messages.empty(); }));
  const String text = h.recorder.messages.back().text;
  EXPECT_NE(text.find(f.at(f.first(), "c.jww")), String::npos);
  EXPECT_NE(text.find(f.at(f.second(), "gone.jww")), String::npos);

  // The tree's own polling does not take the list back to an older choice.
  testing::WaitFor([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(form.preFolder, f.at(f.second()));

  // A file the type filter hides is shown by showing every type.
  form.ComboBox1->SetSelection(2);  // *.jww
  form.ComboBox1Select();
  Drop(&form, {f.at(f.first(), "memo.txt"), f.at(f.first(), "A&B_立面.jww")});
  h.WaitForListing();
  EXPECT_EQ(form.ComboBox1->GetSelection(), 0);
  EXPECT_EQ(SelectedCaptions(form), (std::vector<String>{u"A&B_立面.jww", u"memo.txt"}));
  h.Close();
}

TEST(DailyUse, StartUpArgumentsListAFolderOrSelectFiles) {
  TwoFolders f;
  {
    MainWindowHarness h;
    h.startPaths = {f.at(f.first()) + String(1, PathDelim())};
    app::TForm1& form = h.Open();
    EXPECT_EQ(form.preFolder, f.at(f.first()));
    EXPECT_EQ(h.Captions().size(), 4u);
    h.Close();
  }
  {
    MainWindowHarness h;
    h.startPaths = {f.at(f.first(), "平面図 1.jww"), f.at(f.first(), "A&B_立面.jww")};
    app::TForm1& form = h.Open();
    EXPECT_EQ(form.preFolder, f.at(f.first()));
    EXPECT_EQ(SelectedCaptions(form), (std::vector<String>{u"A&B_立面.jww", u"平面図 1.jww"}));
    EXPECT_NE(app::FromWx(form.Label1->GetLabelText()).find(f.at(f.first())), String::npos);
    h.Close();
  }
}

TEST(DailyUse, TheTreeFollowsFoldersMadeAndRemovedOnTheDisk) {
  TempDir dir;
  fs::create_directories(dir.path() / "a" / "deep");
  MainWindowHarness h;
  app::TForm1& form = h.Open();
  app::TplExplorerFolderTree& tree = *form.plExplorerFolderTree1;
  wxGenericDirCtrl* ctrl = tree.DirCtrl();
  ctrl->ExpandPath(app::Wx(FromFsPath(dir.path() / "a" / "deep")));
  ctrl->ExpandPath(app::Wx(FromFsPath(dir.path() / "a")));
  const auto shown = [&](const fs::path& p) {
    wxTreeCtrl* t = ctrl->GetTreeCtrl();
    const wxString path = app::Wx(FromFsPath(p));
    // Walk what is loaded: the control's own search would read the folder again.
    std::function<bool(const wxTreeItemId&)> find = [&](const wxTreeItemId& parent) {
      wxTreeItemIdValue cookie;
      for (auto c = t->GetFirstChild(parent, cookie); c.IsOk(); c = t->GetNextChild(parent, cookie)) {
        auto* d = dynamic_cast<wxDirItemData*>(t->GetItemData(c));
        if (d && d->m_path == path) return true;
        if (find(c)) return true;
      }
      return false;
    };
    return find(ctrl->GetRootId());
  };
  ASSERT_TRUE(shown(dir.path() / "a" / "deep"));
  fs::create_directories(dir.path() / "a" / "new");
  EXPECT_FALSE(shown(dir.path() / "a" / "new"));
  tree.FollowDisk();  // F5 does this at once; a timer every few seconds
  EXPECT_TRUE(shown(dir.path() / "a" / "new"));
  EXPECT_EQ(ctrl->GetPath(), app::Wx(FromFsPath(dir.path() / "a")));  // the selection stays
  fs::remove(dir.path() / "a" / "new");
  ASSERT_TRUE(WaitFor([&] { return !shown(dir.path() / "a" / "new"); }, std::chrono::seconds(6)));
  EXPECT_TRUE(shown(dir.path() / "a" / "deep"));
  h.Close();
}

TEST(DailyUse, HeadersAreReadOffTheWindowsThreadAndAnotherFolderCancelsTheReading) {
  TwoFolders f;
  std::mutex m;
  std::condition_variable cv;
  bool release = false;
  int started = 0;
  MainWindowHarness h;
  h.startPaths = {f.at(f.first())};
  h.headerStarted = [&](const String&) {
    std::unique_lock lock(m);
    ++started;
    cv.notify_all();
    cv.wait(lock, [&] { return release; });
  };
  app::TForm1& form = h.Open();
  ASSERT_TRUE(WaitFor([&] {
    std::lock_guard lock(m);
    return started > 0;
  }));
  // The reading is held: the rows are there, the window answers and says it is reading.
  EXPECT_TRUE(form.ReadingHeaders());
  EXPECT_EQ(form.ListView1->GetItemCount(), 4);
  EXPECT_NE(form.StatusText().find(app::kReadingHeaders), String::npos);
  form.SelectAllRows();
  testing::Settle();
  EXPECT_EQ(SelectedCaptions(form).size(), 4u);
  // Another folder meanwhile: the old reading's results never reach its rows.
  form.OpenPaths({f.at(f.second())});
  {
    std::lock_guard lock(m);
    release = true;
  }
  cv.notify_all();
  h.WaitForListing();
  EXPECT_EQ(form.preFolder, f.at(f.second()));
  const auto rows = h.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][kColumnVersion], u"700");
  EXPECT_EQ(form.StatusText(), u"ファイル検索しました（ファイル数：1）");
  h.Close();
}

TEST(DailyUse, ConvertWithNothingSelectedSaysSo) {
  TwoFolders f;
  MainWindowHarness h;
  h.startPaths = {f.at(f.first())};
  app::TForm1& form = h.Open();
  form.ButtonTClick();
  EXPECT_FALSE(form.Converting());
  EXPECT_EQ(form.StatusText(), app::kNothingSelected);
  ASSERT_EQ(h.recorder.messages.size(), 1u);
  EXPECT_EQ(h.recorder.messages[0].text, app::kNothingSelected);
  h.Close();
}

}  // namespace
}  // namespace plandown
