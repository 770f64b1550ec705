// File-system helpers: plain results instead of errors.
#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "util/ustring.h"

namespace plandown {

bool FileExistsAt(std::u16string_view path);   // a file (not a directory), links followed
bool FolderExists(std::u16string_view path);
bool MakeFolder(std::u16string_view path);     // with missing parents
bool DeleteFileAt(std::u16string_view path);
bool RemoveFolder(std::u16string_view path);   // only when empty
std::int64_t FileSizeAt(std::u16string_view path);  // -1 when it cannot be read

// Opens a file with a C stdio mode ("rb", "wb"); nullptr on failure. With "x" ("wbx") the
// file must not exist yet: an existing one is never opened, on every platform.
std::FILE* OpenFileAt(std::u16string_view path, const char* mode);
// Whether the first byte of a stream just opened for reading can be read (an empty file
// can); LastFileFailure tells why not, as a byte-range lock of another program.
bool FirstByteReadable(std::FILE* f);
// 64-bit size and absolute seek of an open stream; -1 / false on failure.
std::int64_t StreamSize(std::FILE* f);
bool StreamSeek(std::FILE* f, std::int64_t pos);
// Whether both paths exist and name one file or folder, links followed (platform.cpp:
// device and inode, or volume and file index on Windows).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);
// Renames `from` over `to`, replacing an existing file in one step where the platform can.
bool RenameFileOver(std::u16string_view from, std::u16string_view to);

// File time stamps (platform.cpp). A time is seconds and nanoseconds since 1970-01-01 UTC;
// `valid` is false for a time the platform does not keep or could not read.
struct FileTime {
  bool valid = false;
  std::int64_t sec = 0;
  std::int32_t nsec = 0;
};
struct FileTimes {
  FileTime creation;  // not kept on POSIX
  FileTime access;
  FileTime write;
};
// Reads the times of a file, links followed; false (all times invalid) when it cannot.
bool ReadFileTimes(std::u16string_view path, FileTimes& times);
// Sets the valid times of `times` on an existing file, leaving the others alone.
bool WriteFileTimes(std::u16string_view path, const FileTimes& times);

// A moment in the local time zone.
struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
bool ToLocalDateTime(std::int64_t sec, LocalDateTime& out);

// A name beside `path` (in the same folder, so that a rename onto path stays on one file
// system) that no other writer of this or another process picks.
String TemporaryNameBeside(std::u16string_view path);

// Copies source to destination and gives the copy the source's time stamps. The copy is
// written beside the destination and takes its name only when complete, so a failed copy
// leaves an existing destination as it was and no partial file. Failures are absorbed;
// returns whether the copy is complete (callers of the original contract may ignore it).
bool CopyFileWithTimes(std::u16string_view source, std::u16string_view destination);

}  // namespace plandown
