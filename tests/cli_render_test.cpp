// `plandown render` judged by the pictures it writes: SVG that reads back as one balanced
// document, PNG that decodes to a picture with something drawn, both within the box
// asked for; with --to, the colours the conversion gives; and the real drawings.
#include <gtest/gtest.h>

#include <wx/image.h>
#include <wx/mstream.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "cli/cli.h"
#include "images/image_convert.h"
#include "jww/jww_data.h"
#include "support/circle_solids.h"
#include "support/drawing_builder.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::ReadBytes;
using testing::RunPlandown;
using testing::TempDir;

// The fixture's pens: colour k is 0x80 × k (as COLORREF), SXF colour 100 + k is k.
std::string Hex(std::uint32_t colorref) {
  char b[8];
  std::snprintf(b, sizeof b, "#%02x%02x%02x", colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
  return b;
}

// src/plan.jww (every kind of entity) and src/sxf.jww (two lines in SXF colours 101, 102).
void WriteSources(const fs::path& root) {
  fs::create_directories(root / "src");
  ASSERT_TRUE(testing::WritePlan(FromFsPath(root / "src" / "plan.jww"), 700));
  TJwwData sxf;
  sxf.Enthd.jwVer = 700;
  testing::InitTables(sxf);
  testing::ListBuilder lines(MainList(sxf));
  lines.Add(testing::Line(0, 0, 100, 0, testing::Attr(1, 101)));
  lines.Add(testing::Line(0, 50, 100, 50, testing::Attr(1, 102)));
  testing::Finish(sxf);
  ASSERT_TRUE(sxf.FileOut(FromFsPath(root / "src" / "sxf.jww"), 700));
}

// The SVG read as markup: every element closed in order, and the root's size. An empty
// `broken` when it holds together.
struct SvgShape {
  std::string broken;
  int width = 0, height = 0;
  int elements = 0;
  std::set<std::string> strokes;
};

SvgShape ReadSvgShape(const std::string& svg) {
  SvgShape s;
  if (!svg.starts_with("<?xml ")) s.broken = "no XML declaration";
  static const std::regex tag(R"re(<(/?)([a-zA-Z]+)((?:[^>"]|"[^"]*")*?)(/?)>)re");
  static const std::regex stroke(R"re(stroke="(#[0-9a-f]{6})")re");
  std::vector<std::string> open;
  std::size_t end = 0;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), tag); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    const std::string name = m[2], attrs = m[3];
    end = static_cast<std::size_t>(m.position(0) + m.length(0));
    if (!m[1].str().empty()) {
      if (open.empty() || open.back() != name) s.broken = "</" + name + "> closes nothing open";
      else open.pop_back();
      continue;
    }
    if (open.empty() && name != "svg" && s.broken.empty()) s.broken = "<" + name + "> outside the root";
    if (name == "svg") {
      std::smatch w, h;
      if (std::regex_search(attrs, w, std::regex(R"re( width="(\d+)")re"))) s.width = std::stoi(w[1]);
      if (std::regex_search(attrs, h, std::regex(R"re( height="(\d+)")re"))) s.height = std::stoi(h[1]);
    }
    for (auto c = std::sregex_iterator(attrs.begin(), attrs.end(), stroke); c != std::sregex_iterator(); ++c)
      s.strokes.insert((*c)[1]);
    ++s.elements;
    if (m[4].str().empty()) open.push_back(name);
  }
  if (!open.empty() && s.broken.empty()) s.broken = "<" + open.back() + "> not closed";
  if (svg.find_first_not_of(" \r\n", end) != std::string::npos && s.broken.empty()) s.broken = "text after the root";
  return s;
}

struct PngShape {
  bool decoded = false;
  int width = 0, height = 0;
  int inked = 0;  // pixels that are not white
};

PngShape ReadPngShape(const std::string& bytes) {
  PngShape p;
  if (!InitImageLibrary()) return p;
  wxMemoryInputStream in(bytes.data(), bytes.size());
  wxImage image;
  if (!image.LoadFile(in, wxBITMAP_TYPE_PNG)) return p;
  p.decoded = true;
  p.width = image.GetWidth();
  p.height = image.GetHeight();
  const unsigned char* rgb = image.GetData();
  for (int i = 0; i < p.width * p.height; ++i)
    if (rgb[3 * i] < 250 || rgb[3 * i + 1] < 250 || rgb[3 * i + 2] < 250) ++p.inked;
  return p;
}

TEST(CliRender, EachFormatWritesAReadablePictureWithinTheBox) {
  TempDir tmp;
  WriteSources(tmp.path());
  const struct {
    const char* format;
    const char* size;
    int boxWidth, boxHeight;
  } cases[] = {
      {"svg", "300x200", 300, 200},
      {"png", "300x200", 300, 200},
      {"png", "60x400", 60, 400},   // a narrow box: the width decides
      {"svg", nullptr, 1600, 1200},  // the default box
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + (c.size ? c.size : "default"));
    const fs::path out = tmp.path() / "out";
    fs::remove_all(out);
    fs::create_directories(out);
    std::vector<std::string> args = {"render", "--format", c.format, "--out", "out", "src/plan.jww", "src/sxf.jww"};
    if (c.size) args.insert(args.end(), {"--size", c.size});
    const CliRun r = RunPlandown(tmp.path(), args);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    for (const char* name : {"plan", "sxf"}) {
      SCOPED_TRACE(name);
      const fs::path picture = out / (std::string(name) + "." + c.format);
      ASSERT_TRUE(fs::exists(picture));
      int width = 0, height = 0;
      if (std::string(c.format) == "svg") {
        const SvgShape svg = ReadSvgShape(ReadBytes(picture));
        EXPECT_EQ(svg.broken, "");
        EXPECT_GT(svg.elements, 3);
        width = svg.width;
        height = svg.height;
      } else {
        const PngShape png = ReadPngShape(ReadBytes(picture));
        ASSERT_TRUE(png.decoded);
        EXPECT_GT(png.inked, 20) << "a blank picture";
        width = png.width;
        height = png.height;
      }
      // The drawing's proportions, as large as the box lets them be.
      EXPECT_LE(width, c.boxWidth);
      EXPECT_LE(height, c.boxHeight);
      EXPECT_TRUE(width == c.boxWidth || height == c.boxHeight) << width << "x" << height;
      EXPECT_GT(std::min(width, height), 0);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2) << "only the pictures";
  }
}

TEST(CliRender, ToDrawsTheColoursTheConversionGives) {
  TempDir tmp;
  WriteSources(tmp.path());
  fs::create_directories(tmp.path() / "before");
  fs::create_directories(tmp.path() / "after");
  ASSERT_EQ(RunPlandown(tmp.path(), {"render", "--out", "before", "src/sxf.jww"}).status, 0);
  const std::vector<std::uint8_t> source = testing::ReadFileBytes(FromFsPath(tmp.path() / "src" / "sxf.jww"));
  std::set<std::string> pens;
  for (std::uint32_t k = 1; k <= 9; ++k) pens.insert(Hex(0x80 * k));
  const SvgShape before = ReadSvgShape(ReadBytes(tmp.path() / "before" / "sxf.svg"));
  EXPECT_EQ(before.strokes, (std::set<std::string>{Hex(1), Hex(2)})) << "SXF colours 101 and 102";
  const struct {
    const char* target;
    bool sxfKept;
  } cases[] = {{"6.00", true}, {"4.20", true}, {"3.51", false}, {"3.00", false}};
  for (const auto& [target, sxfKept] : cases) {
    SCOPED_TRACE(target);
    const CliRun r = RunPlandown(tmp.path(), {"render", "--to", target, "--out", "after", "src/sxf.jww"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const SvgShape after = ReadSvgShape(ReadBytes(tmp.path() / "after" / "sxf.svg"));
    EXPECT_EQ(after.broken, "");
    ASSERT_FALSE(after.strokes.empty());
    if (sxfKept) {
      EXPECT_EQ(after.strokes, before.strokes);
      continue;
    }
    // Before 4.20 there are no SXF colours: the lines take pens of the standard table.
    for (const std::string& s : after.strokes) EXPECT_TRUE(pens.contains(s)) << s;
  }
  // Nothing but the pictures written; the source untouched.
  EXPECT_EQ(testing::ReadFileBytes(FromFsPath(tmp.path() / "src" / "sxf.jww")), source);
  EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path() / "src"), fs::directory_iterator()), 2);
}

// A drawing of circle solids: `info --json` gives the extent of the shapes, `render` fills
// them within that extent in SVG and PNG (not fans out to the raw fields near the origin).
TEST(CliRender, CircleSolidsAgreeWithInfo) {
  TempDir tmp;
  TJwwData d;
  testing::CircleSolidDrawing(d);
  ASSERT_TRUE(d.FileOut(FromFsPath(tmp.path() / "discs.jww"), 700));
  const CliRun info = RunPlandown(tmp.path(), {"info", "--json", "discs.jww"});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("\"extent\": {\"min_x\": 10.0, \"min_y\": 10.0, \"max_x\": 170.0, \"max_y\": 78.0}"),
            std::string::npos)
      << info.out;
  fs::create_directories(tmp.path() / "out");
  for (const char* format : {"svg", "png"}) {
    SCOPED_TRACE(format);
    const CliRun r = RunPlandown(tmp.path(), {"render", "--format", format, "--size", "640x320", "--out", "out", "discs.jww"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::string bytes = ReadBytes(tmp.path() / "out" / (std::string("discs.") + format));
    // 160 × 68 drawing units at 3.8 pixels each, within a 16-pixel margin.
    if (std::string(format) == "svg") {
      const SvgShape svg = ReadSvgShape(bytes);
      EXPECT_EQ(svg.broken, "");
      EXPECT_EQ(svg.width, 640);
      EXPECT_EQ(svg.height, 291);
      const std::regex solid(R"re(<polygon class="solid")re");
      EXPECT_EQ(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), solid), std::sregex_iterator()), 6);
      continue;
    }
    ASSERT_TRUE(InitImageLibrary());
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxImage image;
    ASSERT_TRUE(image.LoadFile(in, wxBITMAP_TYPE_PNG));
    ASSERT_EQ(image.GetWidth(), 640);
    ASSERT_EQ(image.GetHeight(), 291);
    int x0 = 640, y0 = 291, x1 = -1, y1 = -1;
    for (int y = 0; y < image.GetHeight(); ++y)
      for (int x = 0; x < image.GetWidth(); ++x)
        if (image.GetRed(x, y) < 245 || image.GetGreen(x, y) < 245 || image.GetBlue(x, y) < 245)
          x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    EXPECT_NEAR(x0, 16, 2);
    EXPECT_NEAR(x1, 624, 2);
    EXPECT_NEAR(y0, 16, 2);
    EXPECT_NEAR(y1, 275, 2);
  }
}

// In this process: a few hundred files, each into a folder of its own (names repeat).
CliRun RunHere(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CliRun r;
  r.status = cli::Run(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

TEST(CliRender, RealDrawingsBeforeAndAfterConversion) {
  const fs::path corpus = testing::CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "corpus folder ../shared/corpus not present";
  TempDir tmp;
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(corpus)) {
    if (!e.is_regular_file()) continue;
    const String path = FromFsPath(e.path());
    const String ext = LowerExt(path);
    if (ext != u".jww" && ext != u".jws") continue;
    SCOPED_TRACE(e.path().string());
    for (const char* target : {"", "3.00"}) {
      const fs::path out = tmp.path() / std::to_string(files) / (*target ? "after" : "before");
      fs::create_directories(out);
      std::vector<std::string> args = {"render", "--out", ToUtf8(FromFsPath(out)), ToUtf8(path)};
      if (*target) args.insert(args.begin() + 1, {"--to", target});
      const CliRun r = RunHere(args);
      EXPECT_EQ(r.err, "");
      // Refused after conversion only as the conversion refuses (nothing in the shape).
      if (*target && r.out.find(": empty shape\n") != std::string::npos) continue;
      EXPECT_NE(r.out.find(", refused: 0, failed: 0\n"), std::string::npos) << r.out;
      const fs::path svg = out / fs::path(e.path()).replace_extension(".svg").filename();
      ASSERT_TRUE(fs::exists(svg)) << r.out;
      EXPECT_EQ(ReadSvgShape(ReadBytes(svg)).broken, "");
    }
    ++files;
  }
  EXPECT_GT(files, 200);
}

}  // namespace
}  // namespace plandown
