// What files or folders given from outside the window ask it to show: dropped on it, or
// the program's arguments (a shortcut, "Open with", a drop on the program's icon, "Send
// to"). The list shows one folder: the first folder given, or the folder of the first
// file given with the files of that folder selected; what is not shown is named.
#pragma once
#include <vector>

#include "util/ustring.h"

namespace plandown::app {

struct OpenRequest {
  String folder;                // the folder to list; empty: nothing to show
  std::vector<String> select;   // names of files in it to select
  std::vector<String> leftOut;  // paths given and not shown, in the order given
  String message;               // says what was left out and why; empty when nothing was
};

OpenRequest MakeOpenRequest(const std::vector<String>& paths);

}  // namespace plandown::app
