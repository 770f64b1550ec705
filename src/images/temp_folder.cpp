#include "images/temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "util/files.h"
#include "util/paths.h"

namespace plandown {

namespace {

namespace fs = std::filesystem;

constexpr char kPrefix[] = "plandown-";

long ProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<long>(getpid());
#endif
}

// Creates the folder only if nothing of that name exists yet.
bool CreateFresh(const fs::path& p) {
#ifdef _WIN32
  std::error_code ec;
  return fs::create_directory(p, ec);
#else
  return ::mkdir(p.c_str(), 0700) == 0;
#endif
}

}  // namespace

String CreatePrivateTempFolder() {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return String();
  std::random_device rd;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const unsigned long long r = (static_cast<unsigned long long>(rd()) << 32) ^ rd();
    char name[64];
    std::snprintf(name, sizeof name, "%s%ld-%016llx", kPrefix, ProcessId(), r);
    const fs::path p = base / name;
    if (CreateFresh(p)) return FromFsPath(p / "");
  }
  return String();
}

bool RemovePrivateTempFolder(const String& folder) {
  if (folder.empty()) return false;
  std::error_code ec;
  fs::path p = ToFsPath(folder);
  if (!p.has_filename()) p = p.parent_path();  // the trailing separator
  // Only a folder of our own naming, straight under the temporary folder, is removed
  // with its contents.
  const fs::path base = fs::temp_directory_path(ec);
  if (ec || !p.filename().string().starts_with(kPrefix) ||
      !SameFile(p.parent_path(), base) || fs::is_symlink(p, ec) || !fs::is_directory(p, ec))
    return false;
  fs::remove_all(p, ec);
  return !ec && !fs::exists(p, ec);
}

}  // namespace plandown
