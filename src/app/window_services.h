// What the windows ask of the desktop beyond their own controls: message boxes, the
// folder-selection and save dialogs, the system beep, opening a file with its application
// and the clipboard. The
// program uses the desktop's; tests give recorders so that no modal window blocks them.
#pragma once
#include <functional>

#include "convert/file_listing.h"
#include "util/ustring.h"

class wxWindow;

namespace plandown::app {

enum class MessageKind { kPlain, kError };

struct WindowServices {
  // A modal message box with the single OK button.
  std::function<void(wxWindow* parent, const String& text, MessageKind kind)> message;
  // A modal question with the buttons Yes and No: true for Yes.
  std::function<bool(wxWindow* parent, const String& text)> ask;
  // The folder-selection dialog: the chosen folder, or empty when cancelled.
  std::function<String(wxWindow* parent, const String& title, const String& initial)> chooseFolder;
  std::function<void()> beep;
  FileOpener open;
  // Puts a text on the clipboard.
  std::function<void(const String& text)> copyText;
  // The dialog that names a file to save: the chosen path, or empty when cancelled.
  std::function<String(wxWindow* parent, const String& title, const String& folder, const String& name)>
      chooseSaveFile;
};

// The desktop's own: message boxes, the folder dialog, the beep and the default application.
WindowServices DesktopServices();

}  // namespace plandown::app
