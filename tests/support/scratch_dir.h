// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes away.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "util/ustring.h"

namespace plandown::testing {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as a path text with a trailing separator.
  String Folder() const;
  // The path text of `name` inside the folder.
  String At(std::u16string_view name) const;
  // Writes a file inside the folder and returns its path text.
  String Write(std::u16string_view name, const std::vector<std::uint8_t>& bytes) const;
  String Write(std::u16string_view name, std::string_view text) const;

 private:
  std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadAll(std::u16string_view path);

}  // namespace plandown::testing
