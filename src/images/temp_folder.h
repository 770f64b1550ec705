// The folder in which a drawing's bound images are extracted while it is converted.
#pragma once
#include "util/ustring.h"

namespace plandown {

// Creates a folder that only this process uses, under the system's temporary folder
// (readable and writable by the owner alone on POSIX), and returns it with a trailing
// separator. Empty when no folder could be created.
String CreatePrivateTempFolder();

// Removes a folder made by CreatePrivateTempFolder together with anything left in it.
// Any other path is left alone. True when the folder is gone.
bool RemovePrivateTempFolder(const String& folder);

}  // namespace plandown
