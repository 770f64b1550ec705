// Why a file operation failed, as far as the platform tells it: above all whether another
// program holds the file (Windows share modes and byte-range locks), which a user cures by
// closing that program, unlike a missing right or a damaged file.
#pragma once
#include <cstdint>
#include <string_view>

namespace plandown {

enum class FileFailure {
  kNone,   // the operation succeeded
  kInUse,  // another program holds the file
  kOther,  // any other reason
};

// The kind of a Windows error code (GetLastError): sharing and lock violations are kInUse.
// A pure mapping, on every platform.
FileFailure FileFailureOfWindowsError(std::uint32_t code);

// The kind of this thread's last OpenFileAt or RenameFileOver (kNone when it succeeded).
// POSIX has no share modes: there it is never kInUse unless a file is held as below.
FileFailure LastFileFailure();
void NoteFileFailure(FileFailure failure);

// Makes OpenFileAt, RenameFileOver (either path) and DeleteFileAt treat the file at `path`
// as held by another program, process-wide, as Windows does for a file opened with no
// sharing: how tests meet that failure where the platform has no share modes.
void HoldFileAsAnotherProgram(std::u16string_view path);
void ReleaseHeldFiles();
// Whether `path` is such a held file.
bool HeldAsAnotherProgram(std::u16string_view path);

}  // namespace plandown
