#include "app/folder_tree.h"

#include <wx/dirctrl.h>
#include <wx/sizer.h>
#include <wx/intl.h>
#include <wx/stdpaths.h>
#include <wx/treectrl.h>
#include <wx/utils.h>

#include "app/window_texts.h"
#include "app/wx_text.h"
#include "util/files.h"
#include "util/paths.h"

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

}  // namespace

TplExplorerFolderTree::TplExplorerFolderTree(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
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
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree->GetFirstChild(dir_->GetRootId(), cookie); item.IsOk();
       item = tree->GetNextChild(dir_->GetRootId(), cookie)) {
    const wxString text = tree->GetItemText(item);
    if (text == wxGetTranslation("Home directory") || text == Wx(kHomeSection)) {
      tree->SetItemText(item, Wx(kHomeSection));
    } else {
      if (text == wxGetTranslation("Desktop")) tree->SetItemText(item, Wx(kDesktopSection));
      tree->Collapse(item);
    }
  }
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
