#include "app/folder_tree.h"

#include <wx/dir.h>
#include <wx/dirctrl.h>
#include <wx/filename.h>
#include <wx/sizer.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/treectrl.h>
#include <wx/utils.h>

#include "app/window_texts.h"
#include "app/wx_text.h"
#include "util/files.h"
#include "util/paths.h"

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

namespace plandown::app {

namespace {

// The tree's top level: on Windows the desktop and the user's folder above the drives (the
// control itself lists only the drives there); elsewhere what the control shows of its own.
class FolderDirCtrl final : public wxGenericDirCtrl {
 public:
  explicit FolderDirCtrl(wxWindow* parent) {
    // Created in two steps, so that the sections come from this class.
    Create(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxDIRCTRL_DIR_ONLY | wxDIRCTRL_3D_INTERNAL);
  }

 protected:
  void SetupSections() override {
#ifdef __WXMSW__
    const wxString desktop = wxStandardPaths::Get().GetUserDir(wxStandardPaths::Dir_Desktop);
    if (wxDirExists(desktop)) AddSection(desktop, Wx(kDesktopSection), wxFileIconsTable::folder);
    const wxString home = wxGetHomeDir();
    if (wxDirExists(home)) AddSection(home, Wx(kHomeSection), wxFileIconsTable::folder);
#endif
    wxGenericDirCtrl::SetupSections();
  }
};

constexpr int kFollowInterval = 2000;  // ms between two looks at the open folders on the disk

wxDirItemData* DataOf(wxTreeCtrl* tree, const wxTreeItemId& item) {
  return item.IsOk() ? dynamic_cast<wxDirItemData*>(tree->GetItemData(item)) : nullptr;
}

// The item of `path` below `from` among the items read so far, or an invalid one.
wxTreeItemId FindLoaded(wxTreeCtrl* tree, const wxTreeItemId& from, const wxString& path) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree->GetFirstChild(from, cookie); child.IsOk(); child = tree->GetNextChild(from, cookie)) {
    const wxDirItemData* data = DataOf(tree, child);
    if (data == nullptr) continue;
    if (data->m_path == path) return child;
    const wxString prefix = data->m_path.EndsWith(wxFILE_SEP_PATH) ? data->m_path : data->m_path + wxFILE_SEP_PATH;
    if (path.StartsWith(prefix)) return FindLoaded(tree, child, path);
  }
  return {};
}

}  // namespace

TplExplorerFolderTree::TplExplorerFolderTree(wxWindow* parent) : wxPanel(parent, wxID_ANY), followTimer_(this) {
  dir_ = new FolderDirCtrl(this);
  NameSections();
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(dir_, 1, wxEXPAND);
  SetSizer(sizer);
  // The control selects the file system's root of its own accord; nothing is selected
  // until the user or the window chooses a folder.
  dir_->UnselectAll();
  // The tree may report a selection as it is destroyed, after this panel is gone.
  dir_->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, guard_([this](wxTreeEvent& e) { OnSelectionChanged(e); }));
  wxTreeCtrl* tree = dir_->GetTreeCtrl();
  tree->Bind(wxEVT_SIZE, guard_([this](wxSizeEvent& e) {
    e.Skip();
    // After the tree has laid itself out at the new size.
    if (keepSelectionInView_) CallAfter([this] {
        if (keepSelectionInView_) ScrollToSelection();
      });
  }));
  const auto userScrolls = guard_([this](wxScrollWinEvent& e) {
    e.Skip();
    keepSelectionInView_ = false;
  });
  for (const auto type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN,
                          wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK})
    tree->Bind(type, userScrolls);
  tree->Bind(wxEVT_MOUSEWHEEL, guard_([this](wxMouseEvent& e) {
    e.Skip();
    keepSelectionInView_ = false;
  }));
  Bind(wxEVT_TIMER, guard_([this](wxTimerEvent&) {
    if (!suspended_) FollowDisk();
  }));
  followTimer_.Start(kFollowInterval);
}

void TplExplorerFolderTree::ChooseFolder(const String& folder) {
  String path = folder;
  while (path.size() > 1 && IsPathDelim(path.back()) && !(path.size() == 3 && path[1] == u':')) path.pop_back();
  SetSelectFolder(path);
  FSelectFolder = path;
  keepSelectionInView_ = false;
  ScrollToSelection();
}

bool TplExplorerFolderTree::ChildrenChanged(const wxTreeItemId& item) const {
  wxTreeCtrl* tree = dir_->GetTreeCtrl();
  const wxDirItemData* data = DataOf(tree, item);
  if (data == nullptr || data->m_path.empty()) return false;
  std::set<wxString> shown;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree->GetFirstChild(item, cookie); child.IsOk(); child = tree->GetNextChild(item, cookie))
    if (const wxDirItemData* d = DataOf(tree, child)) shown.insert(d->m_name);
  std::set<wxString> onDisk;
  const wxLogNull quiet;  // a folder that went or cannot be read counts as empty
  wxDir dir(data->m_path);
  if (dir.IsOpened()) {
    wxString name;
    const int flags = wxDIR_DIRS | (dir_->GetShowHidden() ? wxDIR_HIDDEN : 0);
    for (bool more = dir.GetFirst(&name, wxString(), flags); more; more = dir.GetNext(&name)) onDisk.insert(name);
  }
  return shown != onDisk;
}

void TplExplorerFolderTree::ReadAgain(const wxTreeItemId& item) {
  wxTreeCtrl* tree = dir_->GetTreeCtrl();
  // What was open below the item, parents before children, and the selection.
  std::vector<wxString> open;
  const std::function<void(const wxTreeItemId&)> collect = [&](const wxTreeItemId& parent) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(parent, cookie); c.IsOk(); c = tree->GetNextChild(parent, cookie)) {
      if (!tree->IsExpanded(c)) continue;
      if (const wxDirItemData* d = DataOf(tree, c)) open.push_back(d->m_path);
      collect(c);
    }
  };
  collect(item);
  const wxDirItemData* selectedData = DataOf(tree, tree->GetSelection());
  const wxString selected = selectedData != nullptr ? selectedData->m_path : wxString();
  selectingByCode_ = true;
  tree->Freeze();
  // The control reads a folder's children as it opens and forgets them as it closes.
  tree->Collapse(item);
  tree->Expand(item);
  for (const wxString& path : open) {
    const wxTreeItemId again = FindLoaded(tree, item, path);
    if (again.IsOk()) tree->Expand(again);
  }
  if (!selected.empty()) {
    const wxTreeItemId again = FindLoaded(tree, dir_->GetRootId(), selected);
    if (again.IsOk()) tree->SelectItem(again);
  }
  tree->Thaw();
  selectingByCode_ = false;
}

void TplExplorerFolderTree::FollowDisk() {
  wxTreeCtrl* tree = dir_->GetTreeCtrl();
  std::vector<wxTreeItemId> changed;
  const std::function<void(const wxTreeItemId&)> visit = [&](const wxTreeItemId& parent) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(parent, cookie); c.IsOk(); c = tree->GetNextChild(parent, cookie)) {
      if (!tree->IsExpanded(c)) continue;
      if (ChildrenChanged(c))
        changed.push_back(c);  // read again as a whole, with what is open below it
      else
        visit(c);
    }
  };
  visit(dir_->GetRootId());
  for (const wxTreeItemId& item : changed) ReadAgain(item);
}

void TplExplorerFolderTree::SetSelectFolder(const String& folder) {
  // The tree would otherwise select the nearest existing parent.
  if (folder.empty() || !FolderExists(folder)) return;
  String path = folder;
  while (path.size() > 1 && IsPathDelim(path.back())) path.pop_back();
  selectingByCode_ = true;
  dir_->ExpandPath(Wx(path));
  selectingByCode_ = false;
}

// The control opens the file system's root and names the home and desktop folders in
// English: the sections are named in the window's language, and only the home folder,
// where drawings usually are, starts open.
void TplExplorerFolderTree::NameSections() {
  wxTreeCtrl* tree = dir_->GetTreeCtrl();
  std::vector<wxTreeItemId> gone;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree->GetFirstChild(dir_->GetRootId(), cookie); item.IsOk();
       item = tree->GetNextChild(dir_->GetRootId(), cookie)) {
    const wxString text = tree->GetItemText(item);
    if (const wxDirItemData* data = DataOf(tree, item); data != nullptr && !wxDirExists(data->m_path)) {
      // The control names a desktop folder whether it exists or not.
      gone.push_back(item);
      continue;
    }
    if (text == wxGetTranslation("Home directory") || text == Wx(kHomeSection)) {
      tree->SetItemText(item, Wx(kHomeSection));
    } else {
      if (text == wxGetTranslation("Desktop")) tree->SetItemText(item, Wx(kDesktopSection));
      tree->Collapse(item);
    }
  }
  for (const wxTreeItemId& item : gone) tree->Delete(item);
}

void TplExplorerFolderTree::ScrollToSelection() {
  keepSelectionInView_ = true;
  wxTreeCtrl* tree = dir_->GetTreeCtrl();
  const wxTreeItemId selected = tree->GetSelection();
  if (selected.IsOk()) tree->EnsureVisible(selected);
}

void TplExplorerFolderTree::OnSelectionChanged(wxTreeEvent& event) {
  event.Skip();
  if (selectingByCode_ || suspended_) return;
  keepSelectionInView_ = false;
  const wxTreeItemId item = event.GetItem();
  FSelectFolder = item.IsOk() ? FromWx(dir_->GetPath(item)) : String();
}

}  // namespace plandown::app
