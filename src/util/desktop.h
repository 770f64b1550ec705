// What the program asks of the platform beyond files: its own executable, the per-user
// configuration folder, opening a file with the desktop's default application, and
// whether the error stream is a terminal (platform.cpp).
#pragma once
#include "util/ustring.h"

namespace plandown {

// Hands the file to the desktop's default application without waiting for the
// application; false when the desktop answers that it cannot open the file (no opener, no
// application for the file, a file it cannot reach).
bool OpenWithDefaultApp(const String& path);

// The full path of the running executable; empty when it cannot be found.
String ExecutablePath();

// The per-user configuration folder with a trailing separator ($XDG_CONFIG_HOME or
// ~/.config, %APPDATA% on Windows); empty when there is none.
String UserConfigFolder();

// Whether the current user may create files in the folder.
bool FolderWritable(std::u16string_view folder);

// Whether the standard error stream goes to a terminal, where progress may be redrawn.
bool ErrorStreamIsTerminal();

}  // namespace plandown
