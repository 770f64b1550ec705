#include "support/file_bytes.h"

#include <fstream>
#include <stdexcept>

#include "util/paths.h"

namespace plandown::testing {

String PathIn(const TempDir& dir, std::u16string_view name) { return dir.folder() + String(name); }

String WriteFileBytes(const TempDir& dir, std::u16string_view name, const std::vector<std::uint8_t>& bytes) {
  const String path = PathIn(dir, name);
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("test file could not be written");
  return path;
}

String WriteFileBytes(const TempDir& dir, std::u16string_view name, std::string_view bytes) {
  return WriteFileBytes(dir, name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

}  // namespace plandown::testing
