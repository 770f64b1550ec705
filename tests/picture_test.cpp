// Pictures of documents: SVG read back, PNG pixels against the extent, the examples and
// the real drawings before and after conversion, and the conversion made in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "archive/instream.h"
#include "archive/outstream.h"
#include "convert/converted_in_memory.h"
#include "convert/image_texts.h"
#include "convert/picture_source.h"
#include "raster/picture.h"
#include "render/renderer.h"
#include "render/svg_sink.h"
#include "support/drawing_builder.h"
#include "support/picture_check.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::Attr;
using testing::Line;
using testing::ListBuilder;

std::string Svg(const render::DrawingInput& in, int w = 400, int h = 300) {
  std::vector<std::uint8_t> bytes;
  {
    OutStream out(&bytes);
    render::SvgSink sink(out);
    render::RenderOptions o;
    o.width = w;
    o.height = h;
    render::Render(in, o, sink);
  }
  return std::string(bytes.begin(), bytes.end());
}

// Elements of the SVG by class, and the stroke colour each line-like element is drawn in.
struct SvgRead {
  std::map<std::string, int> byClass;
  std::map<std::string, int> elements;
  std::map<std::string, std::string> strokeOfClass;  // last stroke seen per class
  int openGroups = 0;
};

SvgRead ReadSvg(const std::string& svg) {
  SvgRead r;
  static const std::regex tag(R"(<(/?)([a-z]+)([^>]*)>)");
  static const std::regex cls(R"re(class="([a-z-]+)")re");
  static const std::regex stroke(R"re(stroke="(#[0-9a-f]{6})")re");
  std::vector<std::string> strokes;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), tag); it != std::sregex_iterator(); ++it) {
    const std::string close = (*it)[1], name = (*it)[2], attrs = (*it)[3];
    if (name == "g") {
      if (close.empty()) {
        std::smatch m;
        strokes.push_back(std::regex_search(attrs, m, stroke) ? m[1].str() : std::string());
        ++r.openGroups;
      } else {
        strokes.pop_back();
        --r.openGroups;
      }
      continue;
    }
    if (!close.empty()) continue;
    std::smatch m;
    if (!std::regex_search(attrs, m, cls)) continue;
    ++r.byClass[m[1]];
    ++r.elements[name];
    if (!strokes.empty() && !strokes.back().empty()) r.strokeOfClass[m[1]] = strokes.back();
  }
  return r;
}

// A small drawing of every kind, with pens told apart by colour.
void SmallDrawing(TJwwData& d) {
  d.DataInit();
  d.Enthd.jwVer = 700;
  testing::InitTables(d);
  d.EntCol[1].aPenColor = 0x0000FF;  // red, as the drawing stores colours (0x00BBGGRR)
  d.EntCol[3].aPenColor = 0xFF0000;  // blue
  d.EntColS[5].aPenColor = 0x00FF00;  // SXF colour 105: green
  ListBuilder main(MainList(d));
  main.Add(Line(0, 0, 100, 0, Attr(1, 1)));
  main.Add(Line(0, 0, 0, 50, Attr(1, 105)));
  main.Add(Line(0, 0, 1000, 1000, Attr(1, 1, 1, 2, 0)));  // on a hidden layer
  d.EntLay[2].aanLay = 0;
  TEntJwwEnko arc;
  arc.att = Attr(1, 3);
  arc.start_x = 50;
  arc.start_y = 25;
  arc.dHankei = 10;
  arc.radEnkoKaku = 3;
  arc.dHenpeiRitsu = 1;
  main.Add(arc);
  TEntJwwTen pt;
  pt.att = Attr(1, 2);
  pt.start_x = 10;
  pt.start_y = 10;
  main.Add(pt);
  pt.bKariten = 1;
  main.Add(pt);
  main.Add(testing::Text(u"平面図"));
  main.Add(testing::Dimension(true));
  main.Add(TEntJwwSolid{Attr(1, 10), 60, 30, 70, 30, 70, 40, 60, 40, 0x00FF8800});
  main.Add(testing::Insert(1, 20, 20));
  ListBuilder(MemberList(testing::AddDefinition(d, 1, u"部品"))).Add(Line(0, 0, 5, 5, Attr(1, 3)));
  testing::Finish(d);
}

TEST(SvgPicture, ElementsPerKindAndPenColours) {
  TJwwData d;
  SmallDrawing(d);
  const std::string svg = Svg(render::InputOf(d));
  ASSERT_TRUE(svg.starts_with("<?xml")) << svg.substr(0, 100);
  SvgRead r = ReadSvg(svg);
  EXPECT_EQ(r.openGroups, 0);
  EXPECT_EQ(r.byClass["line"], 3);       // two lines and the inserted one; not the hidden one
  EXPECT_EQ(r.byClass["arc"], 1);
  EXPECT_EQ(r.byClass["point"], 1);      // the temporary point is not drawn
  EXPECT_EQ(r.byClass["text"], 1);
  EXPECT_EQ(r.byClass["dimension"], 6);  // its line, text, two extension lines and two end points
  EXPECT_EQ(r.byClass["solid"], 1);
  EXPECT_EQ(r.elements["line"], 3 + 3);
  EXPECT_EQ(r.elements["polyline"], 1);
  EXPECT_EQ(r.elements["circle"], 1 + 2);
  EXPECT_EQ(r.elements["text"], 2);
  EXPECT_EQ(r.elements["polygon"], 1);
  EXPECT_EQ(r.strokeOfClass["arc"], "#0000ff");  // colour 3 of the pen table
  EXPECT_NE(svg.find(R"(stroke="#ff0000")"), std::string::npos);  // colour 1
  EXPECT_NE(svg.find(R"(stroke="#00ff00")"), std::string::npos);  // SXF colour 105
  EXPECT_NE(svg.find(R"(class="solid" fill="#0088ff")"), std::string::npos);  // the solid's own colour
  EXPECT_NE(svg.find(">平面図</text>"), std::string::npos);
  EXPECT_NE(svg.find("font-family=\"'ＭＳ ゴシック','Noto Sans CJK JP'"), std::string::npos);
}

TEST(SvgPicture, TextsAreEscapedAndImagesEmbeddedOrFramed) {
  TJwwData d;
  d.Enthd.jwVer = 700;
  testing::InitTables(d);
  ListBuilder main(MainList(d));
  main.Add(testing::Text(u"a<b & \"c\"\x01"));
  TEntJwwMoji image = testing::Text(u"^@BM%temp%missing.bmp,40,30");
  main.Add(image);
  testing::Finish(d);
  const std::string svg = Svg(render::InputOf(d));
  EXPECT_NE(svg.find(">a&lt;b &amp; &quot;c&quot;</text>"), std::string::npos);
  SvgRead r = ReadSvg(svg);
  EXPECT_EQ(r.byClass["image-frame"], 2);  // the frame and the image's name
  EXPECT_NE(svg.find(">missing.bmp</text>"), std::string::npos);

  // At hand, the image is embedded in its rectangle.
  struct OnePixel : render::ImageSource {
    bool Fetch(const render::ImageRef& ref, std::vector<std::uint8_t>& bytes) override {
      if (ref.name != u"missing.bmp" || !ref.bound) return false;
      bytes = {0x89, 'P', 'N', 'G', 1, 2, 3};
      return true;
    }
  } source;
  std::vector<std::uint8_t> bytes;
  {
    OutStream out(&bytes);
    render::SvgSink sink(out);
    render::RenderOptions o;
    o.images = &source;
    const render::RenderResult res = render::Render(render::InputOf(d), o, sink);
    EXPECT_EQ(res.imagesShown, 1u);
  }
  const std::string embedded(bytes.begin(), bytes.end());
  EXPECT_NE(embedded.find("xlink:href=\"data:image/png;base64,iVBORwECAw==\""), std::string::npos);
}

// Pixels that are not white, and the box they lie in.
struct Ink {
  long pixels = 0;
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};

Ink InkOf(const raster::RasterPicture& p) {
  Ink ink;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t* px = &p.rgb[(static_cast<std::size_t>(y) * p.width + x) * 3];
      if (px[0] > 245 && px[1] > 245 && px[2] > 245) continue;
      ++ink.pixels;
      ink.x0 = std::min(ink.x0, x);
      ink.y0 = std::min(ink.y0, y);
      ink.x1 = std::max(ink.x1, x);
      ink.y1 = std::max(ink.y1, y);
    }
  return ink;
}

// Renders a picture of the source and checks it shows something, only inside the
// extent (with room for pen widths, dots and smoothing).
void ExpectVisiblePicture(const PictureSource& src, int width = 240, int height = 180) {
  ASSERT_TRUE(src.Drawable()) << ToUtf8(src.note);
  const render::DrawingInput in = src.Input();
  EXPECT_EQ(testing::CheckPicture(in, width, height), "");
  render::RenderOptions o;
  o.width = width;
  o.height = height;
  o.images = src.images.get();
  raster::RasterPicture pic;
  render::RenderResult result;
  ASSERT_TRUE(raster::RenderRaster(in, o, pic, result));
  ASSERT_EQ(pic.rgb.size(), static_cast<std::size_t>(width * height * 3));
  ASSERT_FALSE(result.extent.Empty());
  const Ink ink = InkOf(pic);
  EXPECT_GT(ink.pixels, 20) << "a blank picture";
  const render::Affine view = render::FitView(result.extent, width, height, o.margin);
  const render::Point a = view({result.extent.minX, result.extent.maxY});
  const render::Point b = view({result.extent.maxX, result.extent.minY});
  constexpr double kSlack = 6;
  EXPECT_GE(ink.x0, a.x - kSlack);
  EXPECT_GE(ink.y0, a.y - kSlack);
  EXPECT_LE(ink.x1, b.x + kSlack);
  EXPECT_LE(ink.y1, b.y + kSlack);
}

const ConversionSettings& Target(int index) {
  static ConversionSettings s[4];
  for (int i = 0; i < 4; ++i) s[i].OutVersionIndex = i;
  return s[index];
}

TEST(PngPicture, ExamplesBeforeAndAfterConversion) {
  const fs::path examples = fs::path(PLANDOWN_SOURCE_DIR) / "examples";
  int drawn = 0;
  for (const char* name : {"plan.jww", "sxf_details.jww", "part.jws", "old_300.jww"}) {
    SCOPED_TRACE(name);
    const String path = FromFsPath(examples / name);
    PictureSource src;
    ReadForPicture(path, std::nullopt, src);
    ExpectVisiblePicture(src);
    ++drawn;
    for (int t = 0; t < 4; ++t) {
      ReadForPicture(path, Target(t), src);
      if (std::string(name) == "old_300.jww") {
        EXPECT_EQ(src.refusal, Refusal::kOldVersion);  // as the conversion refuses it
        continue;
      }
      ExpectVisiblePicture(src);
    }
  }
  EXPECT_EQ(drawn, 4);
}

TEST(PngPicture, RealDrawingsBeforeAndAfterConversion) {
  const fs::path corpus = testing::CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "corpus folder ../shared/corpus not present";
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(corpus)) {
    if (!e.is_regular_file()) continue;
    const String path = FromFsPath(e.path());
    SCOPED_TRACE(e.path().string());
    PictureSource src;
    ReadForPicture(path, std::nullopt, src);
    if (!src.Drawable()) continue;
    ExpectVisiblePicture(src, 120, 90);
    // Every tenth file at every target as well; the drawing at all of them.
    if (files % 10 == 0 || src.kind == FileKind::kJww)
      for (int t = 0; t < 4; ++t) {
        ReadForPicture(path, Target(t), src);
        ExpectVisiblePicture(src, 120, 90);
      }
    ++files;
  }
  EXPECT_GT(files, 200);
}

TEST(PngPicture, EncodesAPngFile) {
  testing::TempDir dir;
  TJwwData d;
  SmallDrawing(d);
  raster::RasterPicture pic;
  render::RenderResult r;
  render::RenderOptions o;
  o.width = 64;
  o.height = 48;
  ASSERT_TRUE(raster::RenderRaster(render::InputOf(d), o, pic, r));
  const String file = dir.file("small.png");
  ASSERT_TRUE(raster::WritePngFile(pic, file));
  const std::vector<std::uint8_t> bytes = testing::ReadFileBytes(file);
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_EQ(render::ImageMimeType(bytes), "image/png");
  EXPECT_FALSE(raster::WritePngFile(pic, dir.file("no-such-folder/x.png")));
}

void ImageAndSxfDrawing(TJwwData& d) {
  testing::SampleDrawing(d);
  ListBuilder(MainList(d)).Add(testing::Text(u"^@BM%temp%photo_jpg.bmp,40,30"));
  ListBuilder(MainList(d)).Add(Line(0, 0, 9, 9, Attr(38, 105)));
  testing::Finish(d);
}

TEST(ConvertedInMemory, IsWhatTheConvertedFileReadsBackAs) {
  testing::TempDir dir;
  TJwwData d;
  ImageAndSxfDrawing(d);
  const std::vector<std::uint8_t> before = testing::WriteToBytes(d, 700);
  ConversionSettings s;
  s.ConvertBoundImages = 1;
  s.ImageFormatIndex = 3;
  for (int index = 0; index < 4; ++index) {
    s.OutVersionIndex = index;
    SCOPED_TRACE(TargetVersion(index));
    TJwwData after;
    WriteReport report;
    RenamedImageTexts renamed;
    ASSERT_TRUE(ConvertInMemory(d, s, after, report, &renamed));
    EXPECT_EQ(testing::WriteToBytes(d, 700), before) << "the source document changed";
    EXPECT_EQ(after.Enthd.jwVer, TargetVersion(index));
    ASSERT_EQ(renamed.size(), 1u);
    EXPECT_EQ(renamed[0].first, u"^@BMphoto.png,40,30");

    // What the conversion's own path writes to a file and reads back.
    TJwwData copy;
    ImageAndSxfDrawing(copy);
    RewriteImageTexts(copy, s);
    const String file = dir.file("converted.jww");
    copy.SetFileOutOption(0);
    ASSERT_TRUE(copy.FileOut(file, TargetVersion(index)));
    EXPECT_EQ(copy.LastWriteReport(), report);
    TJwwData read;
    read.FileIn(file);
    EXPECT_EQ(testing::WriteToBytes(read, TargetVersion(index)), testing::WriteToBytes(after, TargetVersion(index)));
    EXPECT_EQ(read.EntLine, after.EntLine);
    EXPECT_EQ(read.EntMoji, after.EntMoji);
  }
  // Below 4.20 the SXF colour becomes an ordinary one and the SXF dimension its parts.
  s.OutVersionIndex = 2;
  TJwwData after;
  WriteReport report;
  ASSERT_TRUE(ConvertInMemory(d, s, after, report));
  EXPECT_EQ(after.EntLine.back().att.nPenColor, 4);
  EXPECT_EQ(after.EntLine.back().att.nPenStyle, 5);
  EXPECT_GT(after.EntLineN, d.EntLineN);
  EXPECT_GT(report.dimensionsDecomposed, 0u);
  EXPECT_GT(report.definitionsDropped, 0u);
}

}  // namespace
}  // namespace plandown
