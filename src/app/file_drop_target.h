// Files and folders dropped from the desktop onto the window. The drop is taken up after
// the drag has ended, so that a message box of the window does not hold the desktop's drag.
#pragma once
#include <wx/dnd.h>
#include <wx/event.h>

#include <functional>
#include <vector>

#include "util/ustring.h"

namespace plandown::app {

class FileDropTarget final : public wxFileDropTarget {
 public:
  using Handler = std::function<void(const std::vector<String>& paths)>;
  FileDropTarget(wxEvtHandler& window, Handler dropped) : window_(window), dropped_(std::move(dropped)) {}
  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override;

 private:
  wxEvtHandler& window_;
  Handler dropped_;
};

// Gives each window a drop target of its own (a control takes drops only through its own).
void AcceptDroppedFiles(wxEvtHandler& owner, const std::vector<wxWindow*>& windows, const FileDropTarget::Handler& dropped);

}  // namespace plandown::app
