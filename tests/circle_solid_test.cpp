// Circle solids (solids of line type 101) drawn as the filled circles, ellipses and
// sectors they are: their extent, the SVG outlines read back, and PNG pixels, before and
// after conversion to every generation.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include "archive/outstream.h"
#include "convert/picture_source.h"
#include "raster/picture.h"
#include "render/ellipse.h"
#include "render/renderer.h"
#include "render/svg_sink.h"
#include "support/circle_solids.h"
#include "support/picture_check.h"
#include "support/temp_dir.h"

namespace plandown {
namespace {

using render::Point;
using testing::CircleSolidCase;

constexpr double kPi = std::numbers::pi;
constexpr int kWidth = 640, kHeight = 320, kMargin = 16;

render::EllipseArc ArcOf(const CircleSolidCase& c) {
  render::EllipseArc a;
  a.centre = c.centre;
  a.u = c.u;
  a.v = c.v;
  a.start = c.start;
  a.sweep = c.sweep;
  a.full = c.sweep >= 2 * kPi;
  return a;
}

void ExpectExtentNear(const render::Extent& e, const render::Extent& want, double tolerance) {
  ASSERT_FALSE(e.Empty());
  EXPECT_NEAR(e.minX, want.minX, tolerance);
  EXPECT_NEAR(e.minY, want.minY, tolerance);
  EXPECT_NEAR(e.maxX, want.maxX, tolerance);
  EXPECT_NEAR(e.maxY, want.maxY, tolerance);
}

TEST(CircleSolids, ExtentIsTheBoxOfTheirShapesNotOfTheirFields) {
  TJwwData d;
  std::vector<CircleSolidCase> cases;
  testing::CircleSolidDrawing(d, &cases);
  ExpectExtentNear(render::DrawingExtent(render::InputOf(d)), testing::kCircleSolidDrawingExtent, 1e-9);
  // The fixture's stated extent is that of its shapes.
  render::Extent shapes;
  for (const CircleSolidCase& c : cases) shapes.Add(render::SectorExtent(ArcOf(c)));
  ExpectExtentNear(shapes, testing::kCircleSolidDrawingExtent, 1e-9);
  EXPECT_EQ(testing::CheckPicture(render::InputOf(d), kWidth, kHeight), "");
}

// Polygons of the SVG: fill colour and the box of their points.
struct SvgPolygon {
  std::string cls, fill;
  render::Extent box;
  std::size_t points = 0;
};

std::vector<SvgPolygon> Polygons(const std::string& svg) {
  std::vector<SvgPolygon> out;
  static const std::regex polygon(R"re(<polygon class="([a-z-]+)" fill="(#[0-9a-f]{6})" points="([^"]*)")re");
  static const std::regex point(R"(([-0-9.e]+),([-0-9.e]+))");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), polygon); it != std::sregex_iterator(); ++it) {
    SvgPolygon p{(*it)[1], (*it)[2], {}, 0};
    const std::string pts = (*it)[3];
    for (auto q = std::sregex_iterator(pts.begin(), pts.end(), point); q != std::sregex_iterator(); ++q) {
      p.box.Add(Point{std::stod((*q)[1]), std::stod((*q)[2])});
      ++p.points;
    }
    out.push_back(p);
  }
  return out;
}

std::string Hex(render::Rgb c) {
  char b[8];
  std::snprintf(b, sizeof b, "#%02x%02x%02x", c.r, c.g, c.b);
  return b;
}

TEST(CircleSolids, SvgOutlinesAreTheFilledShapesInTheirColours) {
  TJwwData d;
  std::vector<CircleSolidCase> cases;
  testing::CircleSolidDrawing(d, &cases);
  std::vector<std::uint8_t> bytes;
  {
    OutStream out(&bytes);
    render::SvgSink sink(out);
    render::RenderOptions o;
    o.width = kWidth;
    o.height = kHeight;
    render::Render(render::InputOf(d), o, sink);
  }
  const std::vector<SvgPolygon> polygons = Polygons(std::string(bytes.begin(), bytes.end()));
  ASSERT_EQ(polygons.size(), cases.size());
  const render::Affine view = render::FitView(testing::kCircleSolidDrawingExtent, kWidth, kHeight, kMargin);
  for (const CircleSolidCase& c : cases) {
    SCOPED_TRACE(c.name);
    const render::EllipseArc arc = ArcOf(c).Placed(view);
    const render::Extent want = render::SectorExtent(arc);
    // The polygon whose box is this shape's: flattening leaves it within a pixel.
    const SvgPolygon* found = nullptr;
    for (const SvgPolygon& p : polygons)
      if (std::fabs(p.box.minX - want.minX) < 1 && std::fabs(p.box.maxX - want.maxX) < 1 &&
          std::fabs(p.box.minY - want.minY) < 1 && std::fabs(p.box.maxY - want.maxY) < 1)
        found = &p;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->cls, "solid");
    EXPECT_EQ(found->fill, Hex(c.fill));
    // Round enough to be enlarged: at least 64 chords a turn, however small the disc.
    EXPECT_GE(static_cast<double>(found->points), 64 * c.sweep / (2 * kPi));
  }
}

// Whether the pixel shows `fill` (true) or the white background (false); any other
// colour fails.
void ExpectPixel(const raster::RasterPicture& pic, Point p, bool filled, render::Rgb fill, const char* what) {
  const int x = static_cast<int>(std::lround(p.x)), y = static_cast<int>(std::lround(p.y));
  if (x < 0 || y < 0 || x >= pic.width || y >= pic.height) return;
  const std::uint8_t* px = &pic.rgb[(static_cast<std::size_t>(y) * pic.width + x) * 3];
  const render::Rgb want = filled ? fill : render::Rgb{255, 255, 255};
  const auto near = [](int a, int b) { return std::abs(a - b) <= 12; };
  EXPECT_TRUE(near(px[0], want.r) && near(px[1], want.g) && near(px[2], want.b))
      << what << " at " << x << "," << y << ": " << int(px[0]) << " " << int(px[1]) << " " << int(px[2]);
}

// The picture holds each shape where the fixture puts it, and nothing outside the extent.
void ExpectCirclePicture(const render::DrawingInput& in, const std::vector<CircleSolidCase>& cases) {
  render::RenderOptions o;
  o.width = kWidth;
  o.height = kHeight;
  o.margin = kMargin;
  raster::RasterPicture pic;
  render::RenderResult result;
  ASSERT_TRUE(raster::RenderRaster(in, o, pic, result));
  ExpectExtentNear(result.extent, testing::kCircleSolidDrawingExtent, 1e-9);
  const render::Affine view = render::FitView(result.extent, kWidth, kHeight, kMargin);
  for (const CircleSolidCase& c : cases) {
    SCOPED_TRACE(c.name);
    const double mid = c.start + c.sweep / 2;
    const bool whole = c.sweep >= 2 * kPi;
    for (double k = 0; k < 4; ++k) {
      const double t = mid + k * kPi / 2;
      // Angle from the middle of the sweep; probes on a straight edge prove nothing.
      const double off = std::fabs(std::remainder(t - mid, 2 * kPi));
      if (whole || std::fabs(off - c.sweep / 2) > 0.2)
        ExpectPixel(pic, view(c.At(0.55, t)), whole || off < c.sweep / 2, c.fill, "within the radius");
      ExpectPixel(pic, view(c.At(1.35, t)), false, c.fill, "beyond the radius");
    }
  }
  // Ink only within the extent's frame (smoothing may spill a pixel), and up to it.
  int x0 = kWidth, y0 = kHeight, x1 = -1, y1 = -1;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      const std::uint8_t* px = &pic.rgb[(static_cast<std::size_t>(y) * pic.width + x) * 3];
      if (px[0] > 245 && px[1] > 245 && px[2] > 245) continue;
      x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
  const Point a = view({result.extent.minX, result.extent.maxY}), b = view({result.extent.maxX, result.extent.minY});
  EXPECT_NEAR(x0, a.x, 2);
  EXPECT_NEAR(y0, a.y, 2);
  EXPECT_NEAR(x1, b.x, 2);
  EXPECT_NEAR(y1, b.y, 2);
}

TEST(CircleSolids, PngShowsTheFillWhereTheShapesAreAndNothingElse) {
  TJwwData d;
  std::vector<CircleSolidCase> cases;
  testing::CircleSolidDrawing(d, &cases);
  ExpectCirclePicture(render::InputOf(d), cases);
}

TEST(CircleSolids, WrittenFileDrawsAlikeAsItIsAndConvertedToEveryGeneration) {
  testing::TempDir dir;
  TJwwData d;
  std::vector<CircleSolidCase> cases;
  testing::CircleSolidDrawing(d, &cases);
  const String path = dir.file("discs.jww");
  ASSERT_TRUE(d.FileOut(path, 700));
  PictureSource src;
  ReadForPicture(path, std::nullopt, src);
  ASSERT_TRUE(src.Drawable()) << ToUtf8(src.note);
  ExpectCirclePicture(src.Input(), cases);
  for (int index = 0; index < 4; ++index) {
    SCOPED_TRACE(index);
    ConversionSettings target;
    target.OutVersionIndex = index;
    ReadForPicture(path, target, src);
    ASSERT_TRUE(src.Drawable()) << ToUtf8(src.note);
    ExpectCirclePicture(src.Input(), cases);
  }
}

}  // namespace
}  // namespace plandown
