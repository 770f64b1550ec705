#include "app/file_drop_target.h"

#include <wx/window.h>

#include "app/wx_text.h"

namespace plandown::app {

bool FileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) {
  std::vector<String> paths;
  for (const wxString& name : names) paths.push_back(FromWx(name));
  if (paths.empty()) return false;
  window_.CallAfter([handler = dropped_, paths = std::move(paths)] { handler(paths); });
  return true;
}

void AcceptDroppedFiles(wxEvtHandler& owner, const std::vector<wxWindow*>& windows, const FileDropTarget::Handler& dropped) {
  for (wxWindow* window : windows)
    if (window != nullptr) window->SetDropTarget(new FileDropTarget(owner, dropped));
}

}  // namespace plandown::app
