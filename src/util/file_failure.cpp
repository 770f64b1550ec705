#include "util/file_failure.h"

#include <atomic>
#include <mutex>
#include <set>

#include "util/paths.h"
#include "util/ustring.h"

namespace plandown {

namespace {

thread_local FileFailure lastFailure = FileFailure::kNone;

// Checked before each open, so the common case (nothing held) takes no lock.
std::atomic<bool> anyHeld{false};
std::mutex heldMutex;
std::set<String>& HeldFiles() {
  static std::set<String> files;
  return files;
}

}  // namespace

FileFailure FileFailureOfWindowsError(std::uint32_t code) {
  // ERROR_SUCCESS, ERROR_SHARING_VIOLATION and ERROR_LOCK_VIOLATION of winerror.h.
  constexpr std::uint32_t kSuccess = 0, kSharingViolation = 32, kLockViolation = 33;
  if (code == kSuccess) return FileFailure::kNone;
  if (code == kSharingViolation || code == kLockViolation) return FileFailure::kInUse;
  return FileFailure::kOther;
}

FileFailure LastFileFailure() { return lastFailure; }
void NoteFileFailure(FileFailure failure) { lastFailure = failure; }

void HoldFileAsAnotherProgram(std::u16string_view path) {
  std::lock_guard lock(heldMutex);
  HeldFiles().insert(PathIdentity(path));
  anyHeld = true;
}

void ReleaseHeldFiles() {
  std::lock_guard lock(heldMutex);
  HeldFiles().clear();
  anyHeld = false;
}

bool HeldAsAnotherProgram(std::u16string_view path) {
  if (!anyHeld) return false;
  const String identity = PathIdentity(path);
  std::lock_guard lock(heldMutex);
  return HeldFiles().contains(identity);
}

}  // namespace plandown
