#include "app/folder_tree.h"

#include <wx/dirctrl.h>
#include <wx/filename.h>
#include <wx/sizer.h>
#include <wx/stdpaths.h>
#include <wx/treectrl.h>

#include "app/wx_text.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown::app {

namespace {

// The tree's top level: on Windows the desktop and the user's folder above the drives,
// as the Explorer shows them (the control itself lists only the drives there); elsewhere
// what the control shows of its own.
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
    if (wxDirExists(desktop)) AddSection(desktop, Wx(u"デスクトップ"), wxFileIconsTable::folder);
    const wxString home = wxGetHomeDir();
    const wxString user = wxFileName(home).GetFullName();  // the user's folder by its name
    if (wxDirExists(home)) AddSection(home, user.empty() ? home : user, wxFileIconsTable::folder);
#endif
    wxGenericDirCtrl::SetupSections();
  }
};

}  // namespace

TplExplorerFolderTree::TplExplorerFolderTree(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
  dir_ = new FolderDirCtrl(this);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(dir_, 1, wxEXPAND);
  SetSizer(sizer);
  // The control selects the file system's root of its own accord; nothing is selected
  // until the user or the window chooses a folder.
  dir_->UnselectAll();
  dir_->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, &TplExplorerFolderTree::OnSelectionChanged, this);
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

void TplExplorerFolderTree::OnSelectionChanged(wxTreeEvent& event) {
  event.Skip();
  if (selectingByCode_ || suspended_) return;
  const wxTreeItemId item = event.GetItem();
  FSelectFolder = item.IsOk() ? FromWx(dir_->GetPath(item)) : String();
}

}  // namespace plandown::app
