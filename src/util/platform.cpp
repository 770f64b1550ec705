// The platform layer: the only place that turns path texts into native paths and opens
// native file handles.
#include <cstdio>
#include <ctime>

#include "util/files.h"
#include "util/paths.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>

#include <climits>
#endif

namespace plandown {

std::filesystem::path ToFsPath(std::u16string_view path) {
#ifdef _WIN32
  return std::filesystem::path(std::wstring(path.begin(), path.end()));
#else
  return std::filesystem::path(ToUtf8(path));
#endif
}

String FromFsPath(const std::filesystem::path& p) {
#ifdef _WIN32
  const std::wstring& w = p.native();
  return String(w.begin(), w.end());
#else
  return FromUtf8(p.native());
#endif
}

std::FILE* OpenFileAt(std::u16string_view path, const char* mode) {
  // A NUL would cut the native path short and open some other file.
  if (path.empty() || HasForbiddenPathChars(path)) return nullptr;
#ifdef _WIN32
  std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(ToFsPath(path).c_str(), wmode.c_str());
#else
  std::FILE* f = std::fopen(ToFsPath(path).c_str(), mode);
  if (f && mode[0] == 'r') {
    // A directory opens on POSIX; it is not a file to read.
    std::error_code ec;
    if (std::filesystem::is_directory(ToFsPath(path), ec)) {
      std::fclose(f);
      return nullptr;
    }
  }
  return f;
#endif
}

std::int64_t StreamSize(std::FILE* f) {
#ifdef _WIN32
  __int64 cur = _ftelli64(f);
  if (cur < 0 || _fseeki64(f, 0, SEEK_END) != 0) return -1;
  __int64 end = _ftelli64(f);
  if (_fseeki64(f, cur, SEEK_SET) != 0) return -1;
  return end;
#else
  off_t cur = ftello(f);
  if (cur < 0 || fseeko(f, 0, SEEK_END) != 0) return -1;
  off_t end = ftello(f);
  if (fseeko(f, cur, SEEK_SET) != 0) return -1;
  return end;
#endif
}

bool StreamSeek(std::FILE* f, std::int64_t pos) {
#ifdef _WIN32
  return _fseeki64(f, pos, SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(pos), SEEK_SET) == 0;
#endif
}

bool RenameFileOver(std::u16string_view from, std::u16string_view to) {
  std::error_code ec;
  // POSIX rename replaces atomically; std::filesystem::rename does so on Windows as well.
  std::filesystem::rename(ToFsPath(from), ToFsPath(to), ec);
  return !ec;
}

// Path rules. Windows forbids control characters, quotes, angle brackets, the bar and the
// wildcards in paths and limits them to 260 units; a POSIX path only cannot hold NUL and
// is limited by PATH_MAX bytes.
char16_t PathDelim() {
#ifdef _WIN32
  return u'\\';
#else
  return u'/';
#endif
}

bool HasForbiddenPathChars(std::u16string_view path) {
  for (char16_t c : path) {
#ifdef _WIN32
    if (c < 0x20 || c == u'"' || c == u'<' || c == u'>' || c == u'|' || c == u'*' || c == u'?') return true;
#else
    if (c == 0) return true;
#endif
  }
  return false;
}

bool PathTooLong(std::u16string_view path) {
#ifdef _WIN32
  return path.size() >= MAX_PATH;
#else
  return ToUtf8(path).size() >= PATH_MAX;
#endif
}

#ifdef _WIN32
namespace {
// FILETIME counts 100 ns units from 1601-01-01 UTC.
constexpr std::int64_t kFileTimeUnixEpoch = 116444736000000000LL;

FileTime FromFileTime(const FILETIME& ft) {
  std::int64_t t = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) - kFileTimeUnixEpoch;
  FileTime out;
  out.valid = true;
  out.sec = t / 10000000;
  out.nsec = static_cast<std::int32_t>(t % 10000000) * 100;
  if (out.nsec < 0) {
    out.nsec += 1000000000;
    --out.sec;
  }
  return out;
}

FILETIME ToFileTime(const FileTime& t) {
  std::uint64_t v = static_cast<std::uint64_t>(t.sec * 10000000 + t.nsec / 100 + kFileTimeUnixEpoch);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(v & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(v >> 32);
  return ft;
}
}  // namespace

bool ReadFileTimes(std::u16string_view path, FileTimes& times) {
  times = FileTimes{};
  if (path.empty() || HasForbiddenPathChars(path)) return false;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(ToFsPath(path).c_str(), GetFileExInfoStandard, &data)) return false;
  times.creation = FromFileTime(data.ftCreationTime);
  times.access = FromFileTime(data.ftLastAccessTime);
  times.write = FromFileTime(data.ftLastWriteTime);
  return true;
}

bool WriteFileTimes(std::u16string_view path, const FileTimes& times) {
  if (path.empty() || HasForbiddenPathChars(path)) return false;
  HANDLE h = CreateFileW(ToFsPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  FILETIME c = ToFileTime(times.creation), a = ToFileTime(times.access), w = ToFileTime(times.write);
  BOOL ok = SetFileTime(h, times.creation.valid ? &c : nullptr, times.access.valid ? &a : nullptr,
                        times.write.valid ? &w : nullptr);
  CloseHandle(h);
  return ok != 0;
}

#else
bool ReadFileTimes(std::u16string_view path, FileTimes& times) {
  times = FileTimes{};
  if (path.empty() || HasForbiddenPathChars(path)) return false;
  struct stat st;
  if (stat(ToFsPath(path).c_str(), &st) != 0) return false;
  times.access = FileTime{true, static_cast<std::int64_t>(st.st_atim.tv_sec), static_cast<std::int32_t>(st.st_atim.tv_nsec)};
  times.write = FileTime{true, static_cast<std::int64_t>(st.st_mtim.tv_sec), static_cast<std::int32_t>(st.st_mtim.tv_nsec)};
  return true;
}

bool WriteFileTimes(std::u16string_view path, const FileTimes& times) {
  if (path.empty() || HasForbiddenPathChars(path)) return false;
  // POSIX has no call that sets a creation time; only access and modification are kept.
  auto spec = [](const FileTime& t) {
    struct timespec ts;
    ts.tv_sec = static_cast<time_t>(t.sec);
    ts.tv_nsec = t.valid ? static_cast<long>(t.nsec) : UTIME_OMIT;
    return ts;
  };
  const struct timespec ts[2] = {spec(times.access), spec(times.write)};
  return utimensat(AT_FDCWD, ToFsPath(path).c_str(), ts, 0) == 0;
}

#endif

bool ToLocalDateTime(std::int64_t sec, LocalDateTime& out) {
  std::time_t t = static_cast<std::time_t>(sec);
  std::tm tm{};
#ifdef _WIN32
  if (localtime_s(&tm, &t) != 0) return false;
#else
  if (!localtime_r(&t, &tm)) return false;
#endif
  out.year = tm.tm_year + 1900;
  out.month = tm.tm_mon + 1;
  out.day = tm.tm_mday;
  out.hour = tm.tm_hour;
  out.minute = tm.tm_min;
  out.second = tm.tm_sec;
  return true;
}

}  // namespace plandown
