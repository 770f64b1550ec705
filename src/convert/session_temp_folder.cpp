#include "convert/session_temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "util/files.h"
#include "util/paths.h"
#include "util/processes.h"

namespace plandown {

namespace {

constexpr char kMarkPrefix[] = ".session-";

String MarkOf(const String& folder, std::int64_t id) {
  return folder + FromUtf8(kMarkPrefix + std::to_string(id));
}

// The process a mark names; 0 for any other entry.
std::int64_t MarkedProcess(const std::filesystem::path& entry) {
  const String name = FromFsPath(entry.filename());
  const String prefix = FromUtf8(kMarkPrefix);
  if (name.size() <= prefix.size() || name.size() > prefix.size() + 18 || name.compare(0, prefix.size(), prefix) != 0)
    return 0;
  std::int64_t id = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < u'0' || name[i] > u'9') return 0;
    id = id * 10 + (name[i] - u'0');
  }
  return id;
}

}  // namespace

bool ClaimSessionTempFolder(const String& folder) {
  const std::filesystem::path dir = ToFsPath(folder);
  std::error_code ec;
  bool inUse = false;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::int64_t id = MarkedProcess(it->path());
    if (id != 0 && ProcessRunning(id)) inUse = true;
  }
  if (!ec && !inUse) {
    // Only crashed sessions wrote here: what they extracted is of no use to anyone.
    std::vector<std::filesystem::path> left;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
      left.push_back(it->path());
    for (const auto& entry : left) std::filesystem::remove_all(entry, ec);
  }
  std::FILE* mark = OpenFileAt(MarkOf(folder, CurrentProcessId()), "wb");
  if (mark == nullptr) return false;
  return std::fclose(mark) == 0;
}

void ReleaseSessionTempFolder(const String& folder) {
  if (folder.empty()) return;
  DeleteFileAt(MarkOf(folder, CurrentProcessId()));
  RemoveFolder(folder);
}

}  // namespace plandown
