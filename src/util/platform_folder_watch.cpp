// The platform layer for FolderWatch: a change notification handle on Windows, inotify
// elsewhere. Both are asked without waiting, so the caller polls from its own timer.
#include "util/folder_watch.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "util/paths.h"

namespace plandown {

#ifdef _WIN32

// Windows' change notification handle carries no buffer of ours: closing it while a
// change is being reported is safe, unlike an overlapped ReadDirectoryChangesW.
bool FolderWatch::Watch(const String& folder) {
  Stop();
  const std::wstring path = ToFsPath(folder).native();
  HANDLE h = FindFirstChangeNotificationW(path.c_str(), FALSE,
                                          FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                              FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                              FILE_NOTIFY_CHANGE_ATTRIBUTES);
  if (h == INVALID_HANDLE_VALUE || h == nullptr) return false;
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return true;
}

void FolderWatch::Stop() {
  if (handle_ == kNone) return;
  FindCloseChangeNotification(reinterpret_cast<HANDLE>(handle_));
  handle_ = kNone;
}

bool FolderWatch::Changed() {
  if (handle_ == kNone) return false;
  HANDLE h = reinterpret_cast<HANDLE>(handle_);
  bool changed = false;
  // A burst may signal again at once; a few rounds are enough, the next call sees the rest.
  for (int round = 0; round < 8 && WaitForSingleObject(h, 0) == WAIT_OBJECT_0; ++round) {
    changed = true;
    if (!FindNextChangeNotification(h)) {
      Stop();  // the folder went: said once, then nothing more to watch
      break;
    }
  }
  return changed;
}

#else

bool FolderWatch::Watch(const String& folder) {
  Stop();
  const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd < 0) return false;
  const std::uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY | IN_ATTRIB |
                             IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
  if (inotify_add_watch(fd, ToFsPath(folder).c_str(), mask) < 0) {
    close(fd);
    return false;
  }
  handle_ = fd;
  return true;
}

void FolderWatch::Stop() {
  if (handle_ == kNone) return;
  close(static_cast<int>(handle_));
  handle_ = kNone;
}

bool FolderWatch::Changed() {
  if (handle_ == kNone) return false;
  bool changed = false;
  alignas(inotify_event) char buffer[4096];
  // Everything queued is read, so that the next call reports only what happens after.
  for (int round = 0; round < 64; ++round) {
    const ssize_t n = read(static_cast<int>(handle_), buffer, sizeof buffer);
    if (n > 0) {
      changed = true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;  // EAGAIN: nothing more for now
  }
  return changed;
}

#endif

}  // namespace plandown
