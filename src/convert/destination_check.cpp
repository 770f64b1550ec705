#include "convert/destination_check.h"

#include <filesystem>

#include "convert/status_texts.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown {

bool SameFileOrFolder(std::u16string_view a, std::u16string_view b) {
  if (a.empty() || b.empty()) return false;
  return SameFile(ToFsPath(a), ToFsPath(b));
}

DestinationProblem CheckDestinationFolder(std::u16string_view destination, std::u16string_view sourceFolder) {
  if (destination.empty()) return DestinationProblem::kNotGiven;
  if (!FolderExists(destination)) return DestinationProblem::kMissing;
  if (SameFileOrFolder(destination, sourceFolder)) return DestinationProblem::kIsSourceFolder;
  return DestinationProblem::kNone;
}

String DestinationProblemText(DestinationProblem problem) {
  switch (problem) {
    case DestinationProblem::kNotGiven: return String(kNoDestinationText);
    case DestinationProblem::kMissing: return String(kDestinationMissingText);
    case DestinationProblem::kIsSourceFolder: return String(kDestinationIsSourceText);
    case DestinationProblem::kNone: break;
  }
  return {};
}

}  // namespace plandown
