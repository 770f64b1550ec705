#include "app/window_services.h"

#include <wx/clipbrd.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "app/window_texts.h"
#include "app/wx_text.h"
#include "convert/reference_folder.h"
#include "util/desktop.h"

namespace plandown::app {

WindowServices DesktopServices() {
  WindowServices s;
  s.message = [](wxWindow* parent, const String& text, MessageKind kind) {
    const long icon = kind == MessageKind::kError ? wxICON_ERROR : wxICON_NONE;
    wxMessageBox(Wx(text), Wx(kAppTitle), wxOK | icon, parent);
  };
  s.ask = [](wxWindow* parent, const String& text) {
    return wxMessageBox(Wx(text), Wx(kAppTitle), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, parent) == wxYES;
  };
  s.chooseFolder = [](wxWindow* parent, const String& title, const String& initial) {
    wxDirDialog dialog(parent, Wx(title), Wx(DialogFolderPath(initial)), wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? FromWx(dialog.GetPath()) : String();
  };
  s.beep = [] { wxBell(); };
  s.open = [](const String& path) { return OpenWithDefaultApp(path); };
  s.copyText = [](const String& text) {
    wxClipboardLocker clipboard;
    if (!!clipboard) wxTheClipboard->SetData(new wxTextDataObject(Wx(text)));
  };
  s.chooseSaveFile = [](wxWindow* parent, const String& title, const String& folder, const String& name) {
    wxFileDialog dialog(parent, Wx(title), Wx(DialogFolderPath(folder)), Wx(name), Wx(kReportWildcard),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    return dialog.ShowModal() == wxID_OK ? FromWx(dialog.GetPath()) : String();
  };
  return s;
}

}  // namespace plandown::app
