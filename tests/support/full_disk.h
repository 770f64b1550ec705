// A place where writes fall short once files grow past a limit, as on a full disk.
//
// On POSIX the limit is a file-size limit (RLIMIT_FSIZE) in a child process, so it holds
// for each file. Windows has no such limit: there the place is a small volume that the
// wine test run provides (its path in PLANDOWN_SMALL_VOLUME), filled until only the limit
// is free, so it holds for all files written together; the tests are made so that both
// give the same outcome. The volume serves one test at a time, across processes.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace plandown::testing {

class FullDiskPlace {
 public:
  FullDiskPlace();
  ~FullDiskPlace();
  FullDiskPlace(const FullDiskPlace&) = delete;
  FullDiskPlace& operator=(const FullDiskPlace&) = delete;

  // Why there is no such place here (the test skips with it); empty when there is one.
  const std::string& unavailable() const { return unavailable_; }
  // Where the test keeps its files (a TempDir goes inside).
  const std::filesystem::path& folder() const { return folder_; }

  // Runs `body` with the limit in force and returns its result, a number from 0 to 199;
  // 200 when the body did not end normally (POSIX: it runs in a child process, so its
  // expectations must be returned, not checked inside).
  int Run(std::uintmax_t limit, const std::function<int()>& body);

 private:
  std::string unavailable_;
  std::filesystem::path folder_;
  struct Lock;
  std::unique_ptr<Lock> lock_;
};

}  // namespace plandown::testing
