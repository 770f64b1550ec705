// The reference folder of the desktop window: the folder whose files the list shows, the
// line above the window that names it, and when a selection in the folder tree replaces it.
#pragma once
#include <string_view>

#include "util/ustring.h"

namespace plandown {

inline constexpr std::u16string_view kReferenceFolderLabel = u"参照フォルダ：";
String ReferenceFolderCaption(std::u16string_view preFolder);

// Whether the tree's selection names another folder to list: a selection without a path
// (empty) never does; otherwise the texts are compared exactly, case included.
bool ReferenceFolderChanged(std::u16string_view selected, std::u16string_view preFolder);

// Where the destination-folder dialog opens: the destination folder, else the reference
// folder, else the home folder (a dialog without a folder opens on a view where a typed
// path does nothing). Only existing folders count.
String BrowseStartFolder(std::u16string_view destination, std::u16string_view preFolder, std::u16string_view home);

// A folder in the form the desktop's folder and file dialogs open on (the Windows shell
// parses no other and falls back to the desktop): absolute, without "." and "..", without
// the long-path prefix "\\?\", in the platform's separators, and without a trailing
// separator except at a root. A path that cannot be made absolute is returned as it is.
String DialogFolderPath(std::u16string_view folder);

// The folder for the images that drawings carry while they are converted: "TEMP" in the
// program folder, made here; where that cannot be made or written, a private folder in the
// system's temporary folder. Empty when neither can be made. What crashed sessions left in
// "TEMP" is removed unless another session runs from there. Either is removed at the end
// of the session (ReleaseSessionTempFolder) only when empty.
String CreateSessionTempFolder(std::u16string_view programFolder);

}  // namespace plandown
