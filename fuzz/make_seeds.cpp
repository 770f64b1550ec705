// make_seeds DIR [CORPUS]: writes a seed folder for every fuzz target under DIR (DIR/jww,
// DIR/jws, ...) from the inputs the project's own writer builds (tests/support/seed_inputs.h).
// When CORPUS names a folder, its drawings and shapes of at most kMaxCorpusSeed bytes are
// copied in as well; larger files would only slow the fuzzing down.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/seed_inputs.h"

namespace {

namespace fs = std::filesystem;
using plandown::testing::SeedInput;

constexpr std::uintmax_t kMaxCorpusSeed = 256 * 1024;

bool Save(const fs::path& folder, const std::vector<SeedInput>& seeds) {
  fs::create_directories(folder);
  bool ok = true;
  for (const SeedInput& s : seeds) {
    std::ofstream f(folder / s.name, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(s.bytes.data()), static_cast<std::streamsize>(s.bytes.size()));
    if (!f || s.bytes.empty()) {
      std::fprintf(stderr, "make_seeds: no seed %s\n", s.name.c_str());
      ok = false;
    }
  }
  return ok;
}

// Real drawings go to the drawing target, real shapes to the shape target, both to the
// round trip.
void CopyCorpus(const fs::path& corpus, const fs::path& root) {
  std::error_code ec;
  if (!fs::is_directory(corpus, ec)) return;
  int k = 0;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(corpus, ec)) {
    if (!e.is_regular_file() || e.file_size() > kMaxCorpusSeed) continue;
    std::string ext = e.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext != ".jww" && ext != ".jws") continue;
    const std::string name = "corpus-" + std::to_string(k++) + ext;
    for (const char* target : {ext == ".jww" ? "jww" : "jws", "roundtrip"})
      fs::copy_file(e.path(), root / target / name, fs::copy_options::overwrite_existing, ec);
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace plandown::testing;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_seeds DIR [CORPUS]\n");
    return 2;
  }
  const fs::path root = argv[1];
  const std::vector<SeedInput> drawings = DrawingSeeds();
  const std::vector<SeedInput> shapes = ShapeSeeds();
  bool ok = Save(root / "jww", drawings) && Save(root / "jws", shapes);
  ok = Save(root / "roundtrip", drawings) && Save(root / "roundtrip", shapes) && ok;
  ok = Save(root / "dos", DosSeeds()) && ok;
  ok = Save(root / "gzip", GzipSeeds()) && ok;
  ok = Save(root / "settings", SettingsSeeds()) && ok;
  ok = Save(root / "text", TextSeeds()) && ok;
  if (argc == 3) CopyCorpus(argv[2], root);
  return ok ? 0 : 1;
}
