// What the windows ask of the desktop beyond their own controls: message boxes, the
// folder-selection dialog, the system beep and opening a file with its application. The
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
  // The folder-selection dialog: the chosen folder, or empty when cancelled.
  std::function<String(wxWindow* parent, const String& title, const String& initial)> chooseFolder;
  std::function<void()> beep;
  FileOpener open;
};

// The desktop's own: message boxes, the folder dialog, the beep and the default application.
WindowServices DesktopServices();

}  // namespace plandown::app
