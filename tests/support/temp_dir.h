// A scratch folder for one test, removed with everything in it afterwards.
#pragma once
#include <filesystem>
#include <string>

#include "util/ustring.h"

namespace plandown::testing {

class TempDir {
 public:
  TempDir();
  // A scratch folder inside `parent` (on a particular volume, say).
  explicit TempDir(const std::filesystem::path& parent);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // The folder as a path text with a trailing separator (the platform's).
  String folder() const;
  // A file in the folder as a path text.
  String file(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// The real drawings of the shared corpus, or an empty path when the folder is absent.
std::filesystem::path CorpusDir();

}  // namespace plandown::testing
