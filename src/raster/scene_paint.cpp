#include "raster/scene_paint.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/log.h>

#include "images/image_convert.h"
#include "render/clip.h"
#include "raster/wx_sink.h"

namespace plandown::raster {

using render::Point;

namespace {

// Beyond the window within which items are kept whole, so that wide strokes and clipped
// ends never show; as the renderer keeps it.
constexpr double kBorder = 64;
// Texts and images larger than this many window sides show as their box, as the
// renderer draws them.
constexpr double kMaxSides = 4;

render::Rgb Lighter(render::Rgb c) {
  auto mix = [](std::uint8_t v) { return static_cast<std::uint8_t>((v + 2 * 255) / 3); };
  return {mix(c.r), mix(c.g), mix(c.b)};
}

class Painter {
 public:
  Painter(const KeptScene& scene, const ViewTransform& view, int width, int height, WxGraphicsSink& sink,
          std::vector<Speck>& specks, PaintStats& stats)
      : scene_(scene), view_(view), width_(width), height_(height), sink_(sink), specks_(specks), stats_(stats),
        clip_{-kBorder, -kBorder, width + kBorder, height + kBorder},
        dotted_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), false) {}

  void Item(const KeptScene::Item& item) {
    const Point lo = view_.ToWindow({item.box.minX, item.box.minY});
    const Point hi = view_.ToWindow({item.box.maxX, item.box.maxY});
    if (hi.x < clip_.minX || lo.x > clip_.maxX || hi.y < clip_.minY || lo.y > clip_.maxY) {
      ++stats_.skipped;
      return;
    }
    const bool speck = hi.x - lo.x < 1 && hi.y - lo.y < 1;
    switch (item.kind) {
      case KeptScene::Kind::kPolyline: {
        const auto& s = scene_.strokes[item.style];
        // A stroke shorter than a pixel shows as no more than its pixel, however wide.
        if (speck) return Speck(lo, hi, s.color);
        Transform(item);
        const auto dashes = std::span<const double>(scene_.dashes).subspan(s.dashFirst, s.dashCount);
        const render::Stroke stroke{s.color, s.width, dashes};
        render::ClipPolyline(clip_, points_, run_,
                             [&](const std::vector<Point>& run) { sink_.Polyline(run, stroke, item.role); });
        break;
      }
      case KeptScene::Kind::kPolygon: {
        const auto& s = scene_.strokes[item.style];
        if (speck) return Speck(lo, hi, s.color);
        Transform(item);
        render::ClipPolygon(clip_, points_, clipped_);
        if (clipped_.size() >= 3) sink_.Polygon(clipped_, s.color, item.role);
        break;
      }
      case KeptScene::Kind::kDot: {
        const auto& s = scene_.strokes[item.style];
        const int x = static_cast<int>(std::floor(lo.x)), y = static_cast<int>(std::floor(lo.y));
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
          auto&& seen = dotted_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x];
          if (seen) {
            ++stats_.skipped;
            return;
          }
          seen = true;
        }
        sink_.Dot(lo, s.width, s.color, item.role);
        break;
      }
      case KeptScene::Kind::kText: {
        const auto& t = scene_.texts[item.first];
        const double height = t.height * view_.Scale(), length = t.length * view_.Scale();
        const double reach = std::max(height, length > 0 ? length : height * t.textCount);
        if (reach < 1) return Speck(origin0(t), origin0(t), Lighter(t.color));
        const Point origin = view_.ToWindow(t.origin);
        const double most = kMaxSides * std::max(width_, height_);
        if (height > most || length > most) {
          const Point dir{std::cos(t.angle), std::sin(t.angle)}, up{dir.y * height, -dir.x * height};
          const double l = length > 0 ? length : height;
          Outline(origin, l * dir, up, t.color, item.role);
          break;
        }
        for (const auto& f : scene_.fontSets[t.fonts]) fonts_.push_back(f);
        render::TextRun run;
        run.text = std::u16string_view(scene_.characters).substr(t.textFirst, t.textCount);
        run.origin = origin;
        run.angle = t.angle;
        run.height = height;
        run.length = length;
        run.fonts = fonts_;
        run.color = t.color;
        sink_.Text(run, item.role);
        fonts_.clear();
        break;
      }
      case KeptScene::Kind::kImage: {
        const auto& im = scene_.images[item.first];
        render::ImagePlacement p;
        p.name = im.name;
        p.bytes = scene_.imageFiles[im.bytes];
        p.origin = view_.ToWindow(im.origin);
        p.right = view_.Scale() * im.right;
        p.up = view_.Scale() * im.up;
        const double most = kMaxSides * std::max(width_, height_);
        // An image that does not decode, or is too large to draw, shows as its frame.
        if (render::Length(p.right) > most || render::Length(p.up) > most || !sink_.Image(p))
          Outline(p.origin, p.right, p.up, {128, 128, 128}, render::Role::kImageFrame);
        break;
      }
    }
    ++stats_.drawn;
  }

 private:
  Point origin0(const KeptScene::StoredText& t) const { return view_.ToWindow(t.origin); }

  void Speck(Point lo, Point hi, render::Rgb color) {
    specks_.push_back({static_cast<int>(std::floor((lo.x + hi.x) / 2)), static_cast<int>(std::floor((lo.y + hi.y) / 2)),
                       color});
    ++stats_.specks;
  }

  void Transform(const KeptScene::Item& item) {
    points_.clear();
    for (std::uint32_t i = 0; i < item.count; ++i) points_.push_back(view_.ToWindow(scene_.points[item.first + i]));
  }

  void Outline(Point o, Point r, Point u, render::Rgb color, render::Role role) {
    points_ = {o, o + r, o + r + u, o + u, o};
    const render::Stroke stroke{color, 1, {}};
    render::ClipPolyline(clip_, points_, run_, [&](const std::vector<Point>& run) { sink_.Polyline(run, stroke, role); });
  }

  const KeptScene& scene_;
  const ViewTransform& view_;
  int width_, height_;
  WxGraphicsSink& sink_;
  std::vector<raster::Speck>& specks_;
  PaintStats& stats_;
  render::ClipRect clip_;
  std::vector<bool> dotted_;  // window pixels that hold a dot's centre
  std::vector<Point> points_, run_, clipped_;
  std::vector<std::u16string_view> fonts_;
};

}  // namespace

bool PaintScene(const KeptScene& scene, const ViewTransform& view, int width, int height, RasterPicture& out,
                PaintStats* stats) {
  std::lock_guard<std::mutex> lock(GraphicsMutex());
  if (!InitImageLibrary()) return false;
  wxLogNull quiet;
  width = std::clamp(width, 1, render::kMaxPictureSide);
  height = std::clamp(height, 1, render::kMaxPictureSide);
  wxImage image(width, height, false);
  if (!image.IsOk()) return false;
  std::memset(image.GetData(), 0xFF, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  PaintStats counted;
  std::vector<Speck> specks;
  {
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
    if (!gc) return false;
    WxGraphicsSink sink(*gc);
    sink.Begin(width, height, {255, 255, 255});
    Painter painter(scene, view, width, height, sink, specks, counted);
    for (const KeptScene::Item& item : scene.items) painter.Item(item);
    sink.End();
    specks.insert(specks.end(), sink.Specks().begin(), sink.Specks().end());
  }  // the context writes into the image when it goes
  PlotSpecks(specks, image.GetData(), width, height);
  out.width = width;
  out.height = height;
  out.rgb.assign(image.GetData(), image.GetData() + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  if (stats) *stats = counted;
  return true;
}

}  // namespace plandown::raster
