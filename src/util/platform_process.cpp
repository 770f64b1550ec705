// The platform layer for process identities.
#include "util/processes.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace plandown {

#ifdef _WIN32

std::int64_t CurrentProcessId() { return static_cast<std::int64_t>(GetCurrentProcessId()); }

bool ProcessRunning(std::int64_t id) {
  if (id <= 0 || id > 0xFFFFFFFFll) return false;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}

#else

std::int64_t CurrentProcessId() { return static_cast<std::int64_t>(getpid()); }

bool ProcessRunning(std::int64_t id) {
  if (id <= 0 || id != static_cast<pid_t>(id)) return false;
  return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

#endif

}  // namespace plandown
