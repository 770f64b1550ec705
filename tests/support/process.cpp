#include "support/process.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cwchar>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

extern char** environ;
#endif

#include "util/ustring.h"

namespace plandown::testing {

#ifdef _WIN32
namespace {

std::wstring Wide(const std::string& utf8) {
  const String s = FromUtf8(utf8);
  return std::wstring(s.begin(), s.end());
}

// One argument quoted so that CommandLineToArgvW and the C runtime give it back as it is:
// backslashes are doubled only before a quote.
void AppendQuoted(std::wstring& line, const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    line += arg;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

HANDLE OpenForChild(const std::filesystem::path& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const std::wstring name = path.empty() ? std::wstring(L"NUL") : path.wstring();
  return CreateFileW(name.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The started process, or nullptr.
void* Spawn(const ProcessStart& start) {
  HANDLE process = nullptr;
  std::wstring line;
  AppendQuoted(line, start.program.wstring());
  for (const std::string& a : start.args) {
    line += L' ';
    AppendQuoted(line, Wide(a));
  }
  HANDLE in = OpenForChild({}, false);
  HANDLE out = OpenForChild(start.stdoutPath, true);
  HANDLE err = OpenForChild(start.stderrPath, true);
  if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    const std::wstring cwd = start.cwd.wstring();
    // The environment block: this process's own entries, then the added ones.
    std::wstring block;
    if (!start.env.empty()) {
      if (wchar_t* own = GetEnvironmentStringsW()) {
        for (const wchar_t* e = own; *e; e += wcslen(e) + 1) block.append(e).push_back(L'\0');
        FreeEnvironmentStringsW(own);
      }
      for (const std::string& e : start.env) block.append(Wide(e)).push_back(L'\0');
      block.push_back(L'\0');
    }
    if (CreateProcessW(start.program.wstring().c_str(), line.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, block.empty() ? nullptr : block.data(),
                       cwd.empty() ? nullptr : cwd.c_str(), &si, &pi)) {
      CloseHandle(pi.hThread);
      process = pi.hProcess;
    }
  }
  for (HANDLE h : {in, out, err})
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return process;
}

}  // namespace

int RunProcess(const ProcessStart& start) {
  ChildProcess child(start);
  return child.Wait();
}

ChildProcess::ChildProcess(const ProcessStart& start) : handle_(Spawn(start)) {}

ChildProcess::~ChildProcess() {
  if (handle_ == nullptr) return;
  Kill();
  Wait();
}

bool ChildProcess::Started() const { return handle_ != nullptr; }

void ChildProcess::Kill() {
  if (handle_ != nullptr) TerminateProcess(static_cast<HANDLE>(handle_), 137);
}

int ChildProcess::Wait() {
  if (handle_ == nullptr) return -1;
  WaitForSingleObject(static_cast<HANDLE>(handle_), INFINITE);
  DWORD code = 0;
  const int status = GetExitCodeProcess(static_cast<HANDLE>(handle_), &code) ? static_cast<int>(code) : -1;
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  return status;
}

#else
namespace {

// The started process, or 0.
pid_t Spawn(const ProcessStart& start) {
  std::vector<std::string> words;
  words.push_back(start.program.string());
  words.insert(words.end(), start.args.begin(), start.args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  auto target = [](const std::filesystem::path& p) { return p.empty() ? std::string("/dev/null") : p.string(); };
  const std::string out = target(start.stdoutPath), err = target(start.stderrPath);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // The program path is taken before the change of folder, so make it absolute.
  std::error_code ec;
  const std::string program = std::filesystem::absolute(start.program, ec).string();
  if (!start.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, start.cwd.c_str());
  std::vector<std::string> added = start.env;
  std::vector<char*> envp;
  for (char** e = environ; *e; ++e) envp.push_back(*e);
  for (std::string& e : added) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : 0;
}

}  // namespace

int RunProcess(const ProcessStart& start) {
  ChildProcess child(start);
  return child.Wait();
}

ChildProcess::ChildProcess(const ProcessStart& start) : pid_(Spawn(start)) {}

ChildProcess::~ChildProcess() {
  if (pid_ == 0) return;
  Kill();
  Wait();
}

bool ChildProcess::Started() const { return pid_ != 0; }

void ChildProcess::Kill() {
  if (pid_ != 0) kill(static_cast<pid_t>(pid_), SIGKILL);
}

int ChildProcess::Wait() {
  if (pid_ == 0) return -1;
  int status = 0;
  pid_t done = 0;
  while ((done = waitpid(static_cast<pid_t>(pid_), &status, 0)) < 0 && errno == EINTR) {
  }
  pid_ = 0;
  return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace plandown::testing
