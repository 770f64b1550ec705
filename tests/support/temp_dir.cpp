#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "util/paths.h"

namespace plandown::testing {

TempDir::TempDir() : TempDir(std::filesystem::temp_directory_path()) {}

TempDir::TempDir(const std::filesystem::path& parent) {
  static std::atomic<int> counter{0};
  std::random_device rd;
  path_ = parent / ("plandown-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  // On Windows a file cannot go while a handle is open on it, and the handles a program
  // inherited may close a moment after it ended: try again for a while.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::remove_all(path_, ec);
    if (!ec && !std::filesystem::exists(path_, ec)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

String TempDir::folder() const { return AddPathDelim(FromFsPath(path_)); }
String TempDir::file(const std::string& name) const { return FromFsPath(path_ / name); }

std::filesystem::path CorpusDir() {
  std::filesystem::path p = std::filesystem::path(PLANDOWN_CORPUS_DIR) / "jw_cad";
  std::error_code ec;
  if (std::filesystem::is_directory(p, ec)) return p;
  return {};
}

}  // namespace plandown::testing
