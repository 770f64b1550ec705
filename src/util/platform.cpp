// The platform layer: the only place that turns path texts into native paths and opens
// native file handles.
#include <cstdio>

#include "util/files.h"
#include "util/paths.h"

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
  if (path.empty()) return nullptr;
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

}  // namespace plandown
