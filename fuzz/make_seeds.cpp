// make_seeds DIR [CORPUS]: writes a seed folder for every fuzz target under DIR (DIR/jww,
// DIR/jws, ...): small drawings and shapes of every generation written by the project's
// own writer, DOS headers, compressed images, settings files and texts. When CORPUS names
// a folder, its drawings and shapes of at most kMaxCorpusSeed bytes are copied in as well.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "convert/settings_file.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/image_fixtures.h"
#include "support/plan_drawing.h"
#include "support/temp_dir.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uintmax_t kMaxCorpusSeed = 256 * 1024;
constexpr int kGenerations[] = {700, 600, 420, 351, 300, 230};

int failures = 0;

void Save(const fs::path& file, const Bytes& bytes) {
  std::ofstream f(file, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) {
    std::fprintf(stderr, "make_seeds: cannot write %s\n", file.c_str());
    ++failures;
  }
}

void Save(const fs::path& file, std::string_view bytes) { Save(file, Bytes(bytes.begin(), bytes.end())); }

// Writes the document at `ver` as `file` in every folder given.
template <class Document>
void WriteDocument(Document& doc, int ver, const std::vector<fs::path>& folders, const std::string& file) {
  for (const fs::path& folder : folders) {
    if (!doc.FileOut(FromFsPath(folder / file), ver)) {
      std::fprintf(stderr, "make_seeds: the writer failed on %s\n", file.c_str());
      ++failures;
    }
  }
}

// A 7.00 drawing with bound images: one compressed, one plain, one named with folders.
void ImageDrawing(const fs::path& images, const std::vector<fs::path>& folders) {
  fs::create_directories(images);
  const Bytes picture = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  Save(images / "photo_jpg.bmp.gz", testing::GzipBytes(picture));
  Save(images / "logo.png", picture);
  Save(images / "evil.png", picture);
  TJwwData d;
  testing::SampleDrawing(d);
  testing::ListBuilder main(MainList(d));
  main.Add(testing::Text(u"^@BM%temp%photo_jpg.bmp,100,50"));
  main.Add(testing::Text(u"^@BM%temp%logo.png,20,20"));
  main.Add(testing::Text(u"^@BM%temp%..\\..\\evil.png,5,5"));
  testing::Finish(d);
  d.BindImageFolder = AddPathDelim(FromFsPath(images));
  d.BindImageExp = true;
  for (const char16_t* n : {u"photo_jpg.bmp.gz", u"logo.png", u"..\\..\\evil.png"}) d.BindImage.push_back({n, 0, false});
  d.BindImageN = static_cast<std::int32_t>(d.BindImage.size());
  WriteDocument(d, 700, folders, "images-700.jww");
}

void DrawingSeeds(const fs::path& root) {
  const std::vector<fs::path> drawings = {root / "jww", root / "roundtrip"};
  const std::vector<fs::path> shapes = {root / "jws", root / "roundtrip"};
  for (int ver : kGenerations) {
    const std::string v = std::to_string(ver);
    TJwwData sample;
    testing::SampleDrawing(sample);
    WriteDocument(sample, ver, drawings, "sample-" + v + ".jww");
    TJwwData plan;
    testing::PlanDrawing(plan, ver);
    WriteDocument(plan, ver, drawings, "plan-" + v + ".jww");
    TJwsData shape;
    testing::SampleShape(shape, 700);
    WriteDocument(shape, ver, shapes, "sample-" + v + ".jws");
  }
  TJwwData empty;
  empty.Enthd.jwVer = 700;
  testing::InitTables(empty);
  testing::Finish(empty);
  WriteDocument(empty, 700, drawings, "empty-700.jww");
  TJwwData many;
  testing::SyntheticDrawing(many, 200);
  WriteDocument(many, 700, drawings, "synthetic-700.jww");
  testing::TempDir images;
  ImageDrawing(images.path(), drawings);
}

// DOS headers: the identification block, then comma-separated text blocks of 200 bytes.
Bytes DosFile(std::string_view ident, const std::vector<std::string>& lines) {
  Bytes b(200, 0);
  std::copy(ident.begin(), ident.end(), b.begin());
  const std::string comment = "comment";
  std::copy(comment.begin(), comment.end(), b.begin() + 40);
  for (const std::string& line : lines) {
    Bytes block(200, 0);
    std::copy(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(line.size(), 200)), block.begin());
    b.insert(b.end(), block.begin(), block.end());
  }
  return b;
}

void DosSeeds(const fs::path& dir) {
  std::string numbers;
  for (int k = 0; k < 32; ++k) numbers += (k ? "," : "") + std::to_string(k * 7) + (k % 3 ? ".5" : "");
  const std::vector<std::string> lines = {numbers, numbers, "1A2B:0010,ffff:000f," + numbers, numbers};
  Save(dir / "drawing.jwc", DosFile("jw_cad(c)data.......", lines));
  Save(dir / "drawing-f.jwc", DosFile("jw_cad(c)data.......  f", lines));
  Save(dir / "shape.jwk", DosFile("jw_cad(c)sym........", lines));
  Save(dir / "short.jwk", DosFile("jw_cad(c)sym........", {"1,2"}));
}

void GzipSeeds(const fs::path& dir) {
  Save(dir / "text.gz", testing::GzipBytes(Bytes(300, 'a')));
  Bytes varied;
  for (int i = 0; i < 2000; ++i) varied.push_back(static_cast<std::uint8_t>((i * 37) ^ (i >> 3)));
  Save(dir / "varied.gz", testing::GzipBytes(varied));
  Save(dir / "empty.gz", testing::GzipBytes({}));
}

void SettingsSeeds(const fs::path& dir) {
  AppSettings s;
  if (!SaveSettings(FromFsPath(dir / "defaults.dat"), s)) ++failures;
  s.preFolder = u"/home/図面/参照/";
  s.DestinationFolder = u"C:\\変換先\\";
  s.FileTypeIndex = 3;
  s.Conversion.OutVersionIndex = 2;
  s.Conversion.ConvertBoundImages = 1;
  s.Conversion.ImageFormatIndex = 4;
  if (!SaveSettings(FromFsPath(dir / "folders.dat"), s)) ++failures;
  Save(dir / "short.dat", "10\n20\r\n-5\r");
}

void TextSeeds(const fs::path& dir) {
  const std::u16string texts[] = {
      u"123", u" -2147483648", u"0x7FFFFFFF", u"$ff", u"1.5e3", u"-.25", u"1e400",
      u"^@BM%temp%photo_JPG.bmp.gz,100,50,0,0,1,0", u"^@BM%temp%..\\a.png,1,1", u"一行目^m二行目\\n\r\n三",
      EncodeHexText(u"/home/図面/参照/"),
  };
  int k = 0;
  for (const std::u16string& t : texts) {
    Bytes b;
    for (char16_t c : t) {
      b.push_back(static_cast<std::uint8_t>(c & 0xFF));
      b.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    Save(dir / ("text-" + std::to_string(k++)), b);
  }
}

// Real drawings go to the drawing targets, real shapes to the shape targets; both to the
// round trip. Large files would only slow the fuzzing down.
void CorpusSeeds(const fs::path& corpus, const fs::path& root) {
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
}  // namespace plandown

int main(int argc, char** argv) {
  using namespace plandown;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_seeds DIR [CORPUS]\n");
    return 2;
  }
  const fs::path root = argv[1];
  for (const char* target : {"jww", "jws", "roundtrip", "dos", "gzip", "settings", "text"})
    fs::create_directories(root / target);
  DrawingSeeds(root);
  DosSeeds(root / "dos");
  GzipSeeds(root / "gzip");
  SettingsSeeds(root / "settings");
  TextSeeds(root / "text");
  if (argc == 3) CorpusSeeds(argv[2], root);
  return failures == 0 ? 0 : 1;
}
