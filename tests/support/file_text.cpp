#include "support/file_text.h"

#include <fstream>
#include <iterator>

namespace plandown::testing {

std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

void WriteBytes(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::map<std::string, std::string> TreeBytes(const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_regular_file()) files[std::filesystem::relative(e.path(), root).generic_string()] = ReadBytes(e.path());
  return files;
}

}  // namespace plandown::testing
