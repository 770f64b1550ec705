// The TEMP folder beside the program is shared by every window started from there. Each
// session marks it with a file naming its process; a folder whose marks all name ended
// processes holds only what crashed sessions left, and is emptied when a session claims it.
#pragma once
#include "util/ustring.h"

namespace plandown {

// Empties `folder` (an existing folder with a trailing separator) unless a running
// process marked it, then marks it for this process. False when the mark cannot be written.
bool ClaimSessionTempFolder(const String& folder);

// Removes this process's mark and then the folder, when empty.
void ReleaseSessionTempFolder(const String& folder);

}  // namespace plandown
