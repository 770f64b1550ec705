#include "util/files.h"

#include <array>
#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "util/file_failure.h"
#include "util/paths.h"

namespace plandown {
namespace fs = std::filesystem;

namespace {

// A path text the file system can be asked about at all.
bool Usable(std::u16string_view path) { return !path.empty() && !HasForbiddenPathChars(path); }

}  // namespace

bool FileExistsAt(std::u16string_view path) {
  if (!Usable(path)) return false;
  std::error_code ec;
  // Regular files only: a device or pipe would block or never end when read.
  return fs::is_regular_file(ToFsPath(path), ec);
}

bool FolderExists(std::u16string_view path) {
  if (!Usable(path)) return false;
  std::error_code ec;
  return fs::is_directory(ToFsPath(path), ec);
}

bool MakeFolder(std::u16string_view path) {
  if (!Usable(path) || PathTooLong(path)) return false;
  std::error_code ec;
  fs::path p = fs::absolute(ToFsPath(path), ec);
  if (ec) return false;
  fs::create_directories(p, ec);
  return fs::is_directory(p, ec);
}

bool DeleteFileAt(std::u16string_view path) {
  if (!Usable(path) || HeldAsAnotherProgram(path)) return false;
  std::error_code ec;
  fs::path p = ToFsPath(path);
  // fs::remove would also take an empty folder; this deletes files (and links) only.
  fs::file_status st = fs::symlink_status(p, ec);
  if (ec || !fs::exists(st) || fs::is_directory(st)) return false;
  return fs::remove(p, ec) && !ec;
}

bool RemoveFolder(std::u16string_view path) {
  if (!Usable(path)) return false;
  std::error_code ec;
  fs::path p = ToFsPath(path);
  if (!fs::is_directory(fs::symlink_status(p, ec))) return false;
  return fs::remove(p, ec) && !ec;  // fails for a folder that is not empty
}

std::int64_t FileSizeAt(std::u16string_view path) {
  if (!Usable(path)) return -1;
  std::error_code ec;
  std::uintmax_t size = fs::file_size(ToFsPath(path), ec);
  return ec ? -1 : static_cast<std::int64_t>(size);
}

String TemporaryNameBeside(std::u16string_view path) {
  static std::atomic<unsigned> counter{0};
  thread_local std::mt19937 rng{std::random_device{}()};
  const std::string tag = std::to_string(rng()) + "-" + std::to_string(counter++);
  return String(path) + u".plandown-" + FromUtf8(tag) + u".tmp";
}

bool CopyFileWithTimes(std::u16string_view source, std::u16string_view destination) {
  if (!Usable(source) || !Usable(destination)) return false;
  std::error_code ec;
  const fs::path dst = ToFsPath(destination);
  // Truncating the destination would destroy the source when both name the same file, and
  // a device or pipe in its place is nothing to copy into (or to delete after a failure).
  if (SameFile(ToFsPath(source), dst)) return false;
  if (fs::exists(dst, ec) && !fs::is_regular_file(dst, ec)) return false;

  FileTimes times;
  ReadFileTimes(source, times);  // a time that cannot be read is left as the copy gets it

  std::FILE* in = OpenFileAt(source, "rb");
  if (!in) return false;
  const String temp = TemporaryNameBeside(destination);
  std::FILE* out = OpenFileAt(temp, "wbx");
  if (!out) {
    std::fclose(in);
    return false;
  }
  std::array<unsigned char, 4096> buffer;
  bool ok = true;
  for (;;) {
    std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
    if (got == 0) break;
    if (std::fwrite(buffer.data(), 1, got, out) != got) {
      ok = false;
      break;
    }
  }
  if (std::ferror(in)) ok = false;  // a read error ends the loop like the end of the file
  std::fclose(in);
  if (std::fclose(out) != 0) ok = false;  // buffered data that could not be written
  if (ok) ok = WriteFileTimes(temp, times);
  if (ok) ok = RenameFileOver(temp, destination);
  if (!ok) DeleteFileAt(temp);
  return ok;
}

}  // namespace plandown
