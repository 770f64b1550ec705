#include "convert/conversion_plan.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "convert/file_kind.h"
#include "convert/file_listing.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown {

namespace {

namespace fs = std::filesystem;

bool Converted(const String& name) {
  const String ext = ExtensionOf(name);
  return ext == u".jww" || ext == u".jws";
}

bool NameBefore(const String& a, const String& b) {
  const int c = CompareTextAscii(a, b);
  return c != 0 ? c < 0 : a < b;
}

// Adds the jobs of `folder` into `target`, then those of its sub-folders.
void PlanFolder(const String& folder, const String& target, const String& destination, bool recursive,
                std::vector<ConversionJob>& jobs) {
  std::vector<String> files, folders;
  std::error_code ec;
  fs::directory_iterator it(ToFsPath(folder), fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code entryEc;
    const String name = FromFsPath(it->path().filename());
    if (it->is_directory(entryEc)) {
      if (recursive && !it->is_symlink(entryEc)) folders.push_back(name);
    } else if (it->is_regular_file(entryEc) && Converted(name)) {
      files.push_back(name);
    }
  }
  std::sort(files.begin(), files.end(), NameBefore);
  std::sort(folders.begin(), folders.end(), NameBefore);
  const String base = AddPathDelim(folder);
  for (const String& name : files) jobs.push_back(ConversionJob{base + name, target});
  for (const String& name : folders) {
    const String sub = base + name;
    if (SameFileOrFolder(sub, destination)) continue;
    PlanFolder(sub, AddPathDelim(target) + name, destination, recursive, jobs);
  }
}

// The identity of an existing folder; empty when it does not exist.
String FolderIdentity(const String& folder) { return FolderExists(folder) ? PathIdentity(folder) : String(); }

}  // namespace

String SourceFolderOf(const String& source) {
  const fs::path parent = ToFsPath(source).parent_path();
  return parent.empty() ? String(u".") : FromFsPath(parent);
}

std::vector<ConversionJob> PlanConversion(const std::vector<String>& inputs, const String& destination,
                                          bool recursive) {
  std::vector<ConversionJob> jobs;
  for (const String& input : inputs) {
    if (FolderExists(input)) PlanFolder(input, destination, destination, recursive, jobs);
    else jobs.push_back(ConversionJob{input, destination});
  }
  return jobs;
}

PlanProblem CheckPlan(const std::vector<ConversionJob>& jobs, const String& destination) {
  if (destination.empty()) return {DestinationProblem::kNotGiven, {}};
  if (!FolderExists(destination)) return {DestinationProblem::kMissing, {}};
  // The destination itself against every source folder, as the desktop checks it; the
  // folders made below it against the source folders by their resolved paths.
  std::set<String> checked;
  std::set<String> written;
  for (const ConversionJob& job : jobs) {
    if (job.destinationFolder == destination || !checked.insert(job.destinationFolder).second) continue;
    const String identity = FolderIdentity(job.destinationFolder);
    if (!identity.empty()) written.insert(identity);
  }
  checked.clear();
  for (const ConversionJob& job : jobs) {
    const String folder = SourceFolderOf(job.source);
    if (!checked.insert(folder).second) continue;
    const DestinationProblem problem = CheckDestinationFolder(destination, folder);
    if (problem != DestinationProblem::kNone) return {problem, job.source};
    const String identity = FolderIdentity(folder);
    if (!identity.empty() && written.contains(identity)) return {DestinationProblem::kIsSourceFolder, job.source};
  }
  return {};
}

bool MakeDestinationFolders(const std::vector<ConversionJob>& jobs) {
  bool all = true;
  std::set<String> seen;
  for (const ConversionJob& job : jobs) {
    if (!seen.insert(job.destinationFolder).second || FolderExists(job.destinationFolder)) continue;
    all = MakeFolder(job.destinationFolder) && all;
  }
  return all;
}

}  // namespace plandown
