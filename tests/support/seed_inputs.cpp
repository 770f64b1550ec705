#include "support/seed_inputs.h"

#include <algorithm>
#include <fstream>

#include "convert/settings_file.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/image_fixtures.h"
#include "support/plan_drawing.h"
#include "support/temp_dir.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown::testing {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kGenerations[] = {700, 600, 420, 351, 300, 230};

void Save(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

template <class Document>
Bytes Written(Document& doc, int ver) {
  TempDir dir;
  const String path = dir.file("seed");
  return doc.FileOut(path, ver) ? ReadFileBytes(path) : Bytes{};
}

// A 7.00 drawing binding a compressed image, a plain one and one named with folders.
Bytes ImageDrawing() {
  TempDir images;
  const Bytes picture = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  Save(images.path() / "photo_jpg.bmp.gz", GzipBytes(picture));
  Save(images.path() / "logo.png", picture);
  Save(images.path() / "evil.png", picture);
  TJwwData d;
  SampleDrawing(d);
  ListBuilder main(MainList(d));
  main.Add(Text(u"^@BM%temp%photo_jpg.bmp,100,50"));
  main.Add(Text(u"^@BM%temp%logo.png,20,20"));
  main.Add(Text(u"^@BM%temp%..\\..\\evil.png,5,5"));
  Finish(d);
  d.BindImageFolder = images.folder();
  d.BindImageExp = true;
  for (const char16_t* n : {u"photo_jpg.bmp.gz", u"logo.png", u"..\\..\\evil.png"}) d.BindImage.push_back({n, 0, false});
  d.BindImageN = static_cast<std::int32_t>(d.BindImage.size());
  return Written(d, 700);
}

// Texts, names and a layer name whose marks nest: removing the inner "^m" or "\\n" brings
// the outer one together.
Bytes NestedMarksDrawing() {
  TJwwData d;
  SampleDrawing(d);
  ListBuilder main(MainList(d));
  for (const char16_t* t : {u"^^mm", u"a^^^mmmb", u"\\\\nn", u"^\x01m", u"^\\nm", u"^@BMC:\\\\new\\^^mm,1,1"})
    main.Add(Text(t));
  d.EntLay[3].aStrLayName = u"^^mm";
  d.EntLay[4].aStrLayName = u"\\^mn";
  Finish(d);
  return Written(d, 700);
}

Bytes Utf16(std::u16string_view text) {
  Bytes b;
  for (char16_t c : text) {
    b.push_back(static_cast<std::uint8_t>(c & 0xFF));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return b;
}

// The identification block, then comma-separated text blocks, each of 200 bytes.
Bytes DosFile(std::string_view ident, const std::vector<std::string>& lines) {
  Bytes b(200, 0);
  std::copy(ident.begin(), ident.end(), b.begin());
  const std::string_view comment = "comment";
  std::copy(comment.begin(), comment.end(), b.begin() + 40);
  for (const std::string& line : lines) {
    Bytes block(200, 0);
    std::copy_n(line.begin(), std::min<std::size_t>(line.size(), block.size()), block.begin());
    b.insert(b.end(), block.begin(), block.end());
  }
  return b;
}

}  // namespace

std::vector<SeedInput> DrawingSeeds() {
  std::vector<SeedInput> seeds;
  for (int ver : kGenerations) {
    const std::string v = std::to_string(ver);
    TJwwData sample;
    SampleDrawing(sample);
    seeds.push_back({"sample-" + v + ".jww", Written(sample, ver)});
    TJwwData plan;
    PlanDrawing(plan, ver);
    seeds.push_back({"plan-" + v + ".jww", Written(plan, ver)});
  }
  TJwwData empty;
  empty.Enthd.jwVer = 700;
  InitTables(empty);
  Finish(empty);
  seeds.push_back({"empty-700.jww", Written(empty, 700)});
  TJwwData many;
  SyntheticDrawing(many, 200);
  seeds.push_back({"synthetic-700.jww", Written(many, 700)});
  seeds.push_back({"images-700.jww", ImageDrawing()});
  seeds.push_back({"nested-marks-700.jww", NestedMarksDrawing()});
  return seeds;
}

std::vector<SeedInput> ShapeSeeds() {
  std::vector<SeedInput> seeds;
  for (int ver : kGenerations) {
    TJwsData shape;
    SampleShape(shape, 700);
    seeds.push_back({"sample-" + std::to_string(ver) + ".jws", Written(shape, ver)});
  }
  return seeds;
}

std::vector<SeedInput> DosSeeds() {
  std::string numbers;
  for (int k = 0; k < 32; ++k) numbers += (k ? "," : "") + std::to_string(k * 7) + (k % 3 ? ".5" : "");
  const std::vector<std::string> lines = {numbers, numbers, "1A2B:0010,ffff:000f," + numbers, numbers};
  return {
      {"drawing.jwc", DosFile("jw_cad(c)data.......", lines)},
      {"drawing-f.jwc", DosFile("jw_cad(c)data.......  f", lines)},
      {"shape.jwk", DosFile("jw_cad(c)sym........", lines)},
      {"short.jwk", DosFile("jw_cad(c)sym........", {"1,2"})},
  };
}

std::vector<SeedInput> GzipSeeds() {
  Bytes varied;
  for (int i = 0; i < 2000; ++i) varied.push_back(static_cast<std::uint8_t>((i * 37) ^ (i >> 3)));
  return {{"text.gz", GzipBytes(Bytes(300, 'a'))}, {"varied.gz", GzipBytes(varied)}, {"empty.gz", GzipBytes({})}};
}

std::vector<SeedInput> SettingsSeeds() {
  TempDir dir;
  auto saved = [&](const AppSettings& s) { return SaveSettings(dir.file("s.dat"), s) ? ReadFileBytes(dir.file("s.dat")) : Bytes{}; };
  AppSettings s;
  std::vector<SeedInput> seeds = {{"defaults.dat", saved(s)}};
  s.preFolder = u"/home/図面/参照/";
  s.DestinationFolder = u"C:\\変換先\\";
  s.FileTypeIndex = 3;
  s.Conversion.OutVersionIndex = 2;
  s.Conversion.ConvertBoundImages = 1;
  s.Conversion.ImageFormatIndex = 4;
  seeds.push_back({"folders.dat", saved(s)});
  const std::string_view mixed = "10\n20\r\n-5\r";
  seeds.push_back({"short.dat", Bytes(mixed.begin(), mixed.end())});
  return seeds;
}

std::vector<SeedInput> TextSeeds() {
  const String texts[] = {
      u"123", u" -2147483648", u"0x7FFFFFFF", u"$ff", u"1.5e3", u"-.25", u"1e400",
      u"^@BM%temp%photo_JPG.bmp.gz,100,50,0,0,1,0", u"^@BM%temp%..\\a.png,1,1", u"一行目^m二行目\\n\r\n三", u"^^mm\\\\nn^\x01m",
      EncodeHexText(u"/home/図面/参照/"),
  };
  std::vector<SeedInput> seeds;
  for (const String& t : texts) seeds.push_back({"text-" + std::to_string(seeds.size()), Utf16(t)});
  return seeds;
}

}  // namespace plandown::testing
