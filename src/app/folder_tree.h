// The folder tree of the main window: folders only, the user's home and desktop folders
// above the file system's roots. The window reads the path of the folder the user selected (it
// polls; the tree sends it nothing), selects a folder by path, and suspends the tree
// around its modal dialogs.
#pragma once
#include <wx/panel.h>
#include <wx/timer.h>

#include "app/life_guard.h"
#include "util/ustring.h"

class wxGenericDirCtrl;
class wxTreeEvent;
class wxTreeItemId;

namespace plandown::app {

class TplExplorerFolderTree : public wxPanel {
 public:
  explicit TplExplorerFolderTree(wxWindow* parent);

  // Marks an existing folder below the root as selected. The selected-folder path does not
  // change: only the user's selections count, so the window's polling sees no change.
  // An empty path or one that is no folder does nothing.
  void SetSelectFolder(const String& folder);
  // Selects a folder for the user (a drop, the program's arguments): the selected-folder
  // path becomes `folder` (without a trailing separator), also where the tree cannot
  // show it (a hidden folder).
  void ChooseFolder(const String& folder);
  // Reads again every open folder of the tree whose sub-folders changed on the disk
  // (made, renamed, removed), keeping what is open and selected. Runs by itself every few
  // seconds; F5 runs it at once.
  void FollowDisk();
  // Keeps the selected folder in view while the window takes its size (a window manager
  // maps it in steps), until the user selects or scrolls in the tree.
  void ScrollToSelection();
  // The path of the folder the user selected last; empty at first and for an item without
  // a path.
  const String& SelectFolder() const { return FSelectFolder; }

  // While stopped, selections are not taken up (around the window's modal dialogs).
  void IdleStop() { suspended_ = true; }
  void IdleRestart() { suspended_ = false; }
  bool Suspended() const { return suspended_; }

  wxGenericDirCtrl* DirCtrl() const { return dir_; }

 private:
  void OnSelectionChanged(wxTreeEvent& event);
  void NameSections();
  // The open folder differs from the disk in its sub-folders.
  bool ChildrenChanged(const wxTreeItemId& item) const;
  void ReadAgain(const wxTreeItemId& item);

  wxGenericDirCtrl* dir_ = nullptr;
  String FSelectFolder;
  bool selectingByCode_ = false;
  bool keepSelectionInView_ = false;
  bool suspended_ = false;
  wxTimer followTimer_;
  LifeGuard guard_;  // declared last: the handlers stop before any member goes
};

}  // namespace plandown::app
