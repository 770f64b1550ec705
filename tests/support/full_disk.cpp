#include "support/full_disk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <system_error>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace plandown::testing {

namespace fs = std::filesystem;

#ifdef _WIN32
// The volume is taken with a named mutex, which every process of the test run sees.
struct FullDiskPlace::Lock {
  HANDLE mutex = nullptr;
  ~Lock() {
    if (mutex == nullptr) return;
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
};

FullDiskPlace::FullDiskPlace() {
  const wchar_t* volume = _wgetenv(L"PLANDOWN_SMALL_VOLUME");
  if (volume == nullptr || *volume == 0) {
    unavailable_ = "Windows has no file-size limit, and PLANDOWN_SMALL_VOLUME names no small volume to fill";
    return;
  }
  lock_ = std::make_unique<Lock>();
  lock_->mutex = CreateMutexW(nullptr, FALSE, L"Local\\plandown-tests-small-volume");
  const DWORD waited = lock_->mutex ? WaitForSingleObject(lock_->mutex, INFINITE) : WAIT_FAILED;
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    lock_.reset();
    unavailable_ = "the small volume could not be taken";
    return;
  }
  folder_ = fs::path(volume);
  std::error_code ec;
  if (!fs::is_directory(folder_, ec)) unavailable_ = "PLANDOWN_SMALL_VOLUME is no folder";
}

FullDiskPlace::~FullDiskPlace() = default;

int FullDiskPlace::Run(std::uintmax_t limit, const std::function<int()>& body) {
  // Fill the volume until `limit` bytes are free; a file with its bytes written, since a
  // file only extended would take no room on a sparse file system.
  const fs::path filler = folder_ / "plandown-filler.bin";
  ULARGE_INTEGER free{};
  if (!GetDiskFreeSpaceExW(folder_.c_str(), &free, nullptr, nullptr)) return 200;
  std::uintmax_t fill = free.QuadPart > limit ? free.QuadPart - limit : 0;
  {
    std::FILE* f = _wfopen(filler.c_str(), L"wb");
    if (f == nullptr) return 200;
    const std::vector<char> block(64 * 1024, 'f');
    while (fill > 0) {
      const std::size_t n = static_cast<std::size_t>(std::min<std::uintmax_t>(fill, block.size()));
      if (std::fwrite(block.data(), 1, n, f) != n) break;
      fill -= n;
    }
    std::fclose(f);
  }
  int result = 200;
  try {
    result = body();
  } catch (...) {
  }
  std::error_code ec;
  fs::remove(filler, ec);
  return result;
}

#else
struct FullDiskPlace::Lock {};

FullDiskPlace::FullDiskPlace() : folder_(fs::temp_directory_path()) {}
FullDiskPlace::~FullDiskPlace() = default;

int FullDiskPlace::Run(std::uintmax_t limit, const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the process
    rlimit lim{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
    setrlimit(RLIMIT_FSIZE, &lim);
    int result = 200;
    try {
      result = body();
    } catch (...) {
    }
    _exit(result);
  }
  if (pid < 0) return 200;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}
#endif

}  // namespace plandown::testing
