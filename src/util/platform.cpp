// The platform layer: the only place that turns path texts into native paths and opens
// native file handles.
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "util/desktop.h"
#include "util/file_failure.h"
#include "util/files.h"
#include "util/paths.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#include <shellapi.h>
#ifdef _MSC_VER
#pragma comment(lib, "shell32.lib")
#endif
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;
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

namespace {

#ifdef _WIN32
// The kind of a failure that a Windows call reported with `code`.
FileFailure WindowsFailure(unsigned long code) {
  const FileFailure kind = FileFailureOfWindowsError(static_cast<std::uint32_t>(code));
  return kind == FileFailure::kNone ? FileFailure::kOther : kind;
}
#endif

// Forgets the system's code of an earlier failure, before a C runtime file call.
void ClearRuntimeFailure() {
#ifdef _WIN32
  _doserrno = 0;
  SetLastError(0);
#endif
}

// The kind of the failure of the C runtime file call just made; its system code is kept in
// _doserrno on Windows. POSIX has no share modes.
FileFailure RuntimeFailure() {
#ifdef _WIN32
  return WindowsFailure(_doserrno != 0 ? _doserrno : GetLastError());
#else
  return FileFailure::kOther;
#endif
}

std::FILE* OpenNative(std::u16string_view path, const char* mode) {
  // A NUL would cut the native path short and open some other file.
  if (path.empty() || HasForbiddenPathChars(path)) return nullptr;
#ifdef _WIN32
  const std::string_view m(mode);
  if (m.find('x') != std::string_view::npos) {
    // The C runtime ignores the "x" mode and would truncate an existing file: create the
    // file with _O_EXCL and open the stream on it.
    const bool update = m.find('+') != std::string_view::npos;
    const bool binary = m.find('b') != std::string_view::npos;
    const int flags = _O_CREAT | _O_EXCL | _O_NOINHERIT | (update ? _O_RDWR : _O_WRONLY) | (binary ? _O_BINARY : _O_TEXT);
    int fd = -1;
    if (_wsopen_s(&fd, ToFsPath(path).c_str(), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0) return nullptr;
    std::FILE* f = _fdopen(fd, update ? (binary ? "w+b" : "w+") : (binary ? "wb" : "w"));
    if (!f) _close(fd);
    return f;
  }
  const std::wstring wmode(m.begin(), m.end());
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

}  // namespace

std::FILE* OpenFileAt(std::u16string_view path, const char* mode) {
  if (HeldAsAnotherProgram(path)) {
    NoteFileFailure(FileFailure::kInUse);
    errno = EACCES;  // what the C runtime reports for a sharing violation
    return nullptr;
  }
  ClearRuntimeFailure();
  std::FILE* f = OpenNative(path, mode);
  NoteFileFailure(f ? FileFailure::kNone : RuntimeFailure());
  return f;
}

bool FirstByteReadable(std::FILE* f) {
  ClearRuntimeFailure();
  const bool read = std::fgetc(f) != EOF || !std::ferror(f);
  NoteFileFailure(read ? FileFailure::kNone : RuntimeFailure());
  return read;
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

#ifdef _WIN32
namespace {
// Volume serial number and file index: what tells one file from another on Windows.
bool FileIdentity(const std::filesystem::path& p, BY_HANDLE_FILE_INFORMATION& info) {
  // No access rights are needed to read the identity; backup semantics open folders too.
  HANDLE h = CreateFileW(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const BOOL ok = GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  return ok != 0;
}
}  // namespace

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  // std::filesystem::equivalent of the mingw runtime answers false even for one path twice.
  BY_HANDLE_FILE_INFORMATION ia, ib;
  if (a.empty() || b.empty() || !FileIdentity(a, ia) || !FileIdentity(b, ib)) return false;
  return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
         ia.nFileIndexLow == ib.nFileIndexLow;
}
#else
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat sa, sb;
  if (a.empty() || b.empty() || stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
#endif

#ifdef _WIN32
namespace {
// Whether another program has the file open without letting it be deleted or replaced.
// Replacing a file that is open answers ERROR_ACCESS_DENIED, as a missing right does; an
// open for deletion with every sharing allowed tells the two apart.
bool OpenedWithoutDeleteSharing(const std::filesystem::path& p) {
  HANDLE h = CreateFileW(p.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    return false;
  }
  return FileFailureOfWindowsError(GetLastError()) == FileFailure::kInUse;
}
}  // namespace
#endif

bool RenameFileOver(std::u16string_view from, std::u16string_view to) {
  if (HeldAsAnotherProgram(from) || HeldAsAnotherProgram(to)) {
    NoteFileFailure(FileFailure::kInUse);
    return false;
  }
#ifdef _WIN32
  // Replaces the file in one step; the runtime's rename refuses an existing target.
  const std::filesystem::path target = ToFsPath(to);
  if (MoveFileExW(ToFsPath(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) {
    NoteFileFailure(FileFailure::kNone);
    return true;
  }
  const DWORD code = GetLastError();
  NoteFileFailure(code == ERROR_ACCESS_DENIED && OpenedWithoutDeleteSharing(target) ? FileFailure::kInUse
                                                                                    : WindowsFailure(code));
  return false;
#else
  std::error_code ec;
  // POSIX rename replaces atomically.
  std::filesystem::rename(ToFsPath(from), ToFsPath(to), ec);
  NoteFileFailure(ec ? FileFailure::kOther : FileFailure::kNone);
  return !ec;
#endif
}

String PathIdentity(std::u16string_view path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p = fs::weakly_canonical(ToFsPath(path), ec);
  if (ec) p = fs::absolute(ToFsPath(path), ec).lexically_normal();
  if (!p.has_filename() && p.has_parent_path() && p.parent_path() != p.root_path()) p = p.parent_path();
#ifdef _WIN32
  p.make_preferred();
  std::wstring w = p.native();
  if (!w.empty()) {
    // The invariant upper case is the folding NTFS and FAT apply to names.
    std::wstring upper(w.size(), L'\0');
    const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, w.data(), static_cast<int>(w.size()),
                                upper.data(), static_cast<int>(upper.size()), nullptr, nullptr, 0);
    if (n == static_cast<int>(w.size())) w = upper;
  }
  return String(w.begin(), w.end());
#else
  return FromFsPath(p);
#endif
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

// Desktop and program location.
#ifdef _WIN32
bool OpenWithDefaultApp(const String& path) {
  if (path.empty() || HasForbiddenPathChars(path)) return false;
  const std::wstring file(path.begin(), path.end());
  const HINSTANCE h = ShellExecuteW(nullptr, L"open", file.c_str(), L"", nullptr, SW_SHOWNORMAL);
  // Values above 32 mean success.
  return reinterpret_cast<INT_PTR>(h) > 32;
}

bool ErrorStreamIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

String ExecutablePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return String();
    if (n < buf.size()) return String(buf.begin(), buf.begin() + n);
    if (buf.size() >= 32768) return String();
    buf.resize(buf.size() * 2);
  }
}

String UserConfigFolder() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  if (appData == nullptr || *appData == 0) return String();
  const std::wstring w(appData);
  return AddPathDelim(String(w.begin(), w.end()));
}

bool FolderWritable(std::u16string_view folder) {
  if (folder.empty() || HasForbiddenPathChars(folder)) return false;
  // Folder attributes say nothing about the access rights, so try a file that vanishes on close.
  const std::wstring probe = ToFsPath(AddPathDelim(folder) + u"plandown-write-test.tmp").wstring();
  HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

#else
namespace {
constexpr int kOpenerAnswerMs = 1500;
}  // namespace

bool OpenWithDefaultApp(const String& path) {
  if (path.empty() || HasForbiddenPathChars(path)) return false;
  std::string arg = ToUtf8(path);
  // A leading "-" would be taken for an option.
  if (arg[0] == '-') arg = "./" + arg;
  char program[] = "xdg-open";
  char* argv[] = {program, arg.data(), nullptr};

  // No shell: the path goes to the opener as one argument whatever it holds. The opener
  // gets no terminal, its own session and default SIGPIPE handling.
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_init(&attr);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
  flags |= POSIX_SPAWN_SETSID;
#endif
  posix_spawnattr_setflags(&attr, flags);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, program, &actions, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  // The opener ends at once with its answer when a desktop hands the file over, or when
  // nothing can open it; without a desktop it may run the application itself and end with
  // it. So its answer is awaited for a moment only: still running means the file is open.
  for (int waited = 0; waited < kOpenerAnswerMs; waited += 10) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (done < 0 && errno != EINTR) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // Reap the opener whenever it ends, without waiting for it here and without touching
  // the handling of other children.
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

bool ErrorStreamIsTerminal() { return isatty(STDERR_FILENO) != 0; }

String ExecutablePath() {
  std::vector<char> buf(PATH_MAX);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return String();
    if (static_cast<std::size_t>(n) < buf.size()) return FromUtf8(std::string_view(buf.data(), static_cast<std::size_t>(n)));
    buf.resize(buf.size() * 2);
  }
}

String UserConfigFolder() {
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return AddPathDelim(FromUtf8(xdg));
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return AddPathDelim(FromUtf8(home)) + u".config/";
  return String();
}

bool FolderWritable(std::u16string_view folder) {
  if (folder.empty() || HasForbiddenPathChars(folder)) return false;
  // Search permission is needed as well to create a file inside.
  return access(ToFsPath(folder).c_str(), W_OK | X_OK) == 0 && FolderExists(folder);
}
#endif

}  // namespace plandown
