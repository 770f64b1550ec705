#include "support/scratch_dir.h"

#include <fstream>
#include <random>
#include <stdexcept>

#include "util/paths.h"

namespace plandown::testing {
namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("plandown-test-" + std::to_string(rd()));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no scratch folder could be created");
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

String ScratchDir::Folder() const { return AddPathDelim(FromFsPath(path_)); }

String ScratchDir::At(std::u16string_view name) const { return Folder() + String(name); }

String ScratchDir::Write(std::u16string_view name, const std::vector<std::uint8_t>& bytes) const {
  String p = At(name);
  std::ofstream out(ToFsPath(p), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("scratch file could not be written");
  return p;
}

String ScratchDir::Write(std::u16string_view name, std::string_view text) const {
  return Write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> ReadAll(std::u16string_view path) {
  std::ifstream in(ToFsPath(path), std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace plandown::testing
