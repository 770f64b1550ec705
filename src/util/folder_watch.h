// Changes in one folder's entries, asked for when the caller likes: no thread, no
// callback, nothing the system writes into after the watch is gone.
#pragma once
#include <cstdint>

#include "util/ustring.h"

namespace plandown {

class FolderWatch {
 public:
  FolderWatch() = default;
  ~FolderWatch() { Stop(); }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Watches the entries of `folder` (not below it) from now on, instead of any folder
  // watched before; false when it cannot be watched (then nothing is watched).
  bool Watch(const String& folder);
  void Stop();
  // Whether an entry was added, removed, renamed or written since the last call (or
  // since Watch); never waits.
  bool Changed();

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle_ = kNone;  // the system's handle or descriptor
};

}  // namespace plandown
