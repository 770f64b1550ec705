#include "render/renderer.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "render/clip.h"
#include "render/fonts.h"
#include "render/style.h"

namespace plandown::render {

namespace {

constexpr Rgb kWhite{255, 255, 255};
// Texts taller or longer than this many picture sides are drawn as their box: glyphs
// that size would cost an output a great deal and show nothing legible.
constexpr double kMaxTextSides = 4;
// Border beyond the picture within which primitives are kept whole, so that clipped
// ends and wide strokes never show.
constexpr double kClipBorder = 64;

class ExtentConsumer final : public SceneConsumer {
 public:
  Extent extent;
  void Line(Point a, Point b, const TEntJwwAttr&, Role) override {
    extent.Add(a);
    extent.Add(b);
  }
  void Arc(const EllipseArc& arc, const TEntJwwAttr&) override { extent.Add(ArcExtent(arc)); }
  void Dot(Point p, const TEntJwwAttr&, Role) override { extent.Add(p); }
  void Text(const TEntJwwMoji&, const TextBox& b, Role) override {
    extent.Add(b.start);
    extent.Add(b.end);
    extent.Add(b.start + b.up);
    extent.Add(b.end + b.up);
  }
  void Image(const ImageRef&, const TEntJwwMoji&, Point o, Point r, Point u) override {
    extent.Add(o);
    extent.Add(o + r);
    extent.Add(o + u);
    extent.Add(o + r + u);
  }
  void Solid(const Point (&c)[4], const TEntJwwSolid&) override {
    for (const Point& p : c) extent.Add(p);
  }
  void FilledArc(const EllipseArc& arc, const TEntJwwSolid&) override { extent.Add(SectorExtent(arc)); }
};

class DrawConsumer final : public SceneConsumer {
 public:
  DrawConsumer(const Palette& palette, const Affine& view, int width, int height, ImageSource* images, Sink& sink,
               RenderResult& result)
      : palette_(palette), view_(view), images_(images), sink_(sink), result_(result),
        clip_{-kClipBorder, -kClipBorder, width + kClipBorder, height + kClipBorder},
        maxText_(kMaxTextSides * std::max(width, height)) {}

  void Line(Point a, Point b, const TEntJwwAttr& att, Role role) override {
    Point p[2] = {view_(a), view_(b)};
    if (!ClipSegment(clip_, p[0], p[1])) return;
    sink_.Polyline(p, palette_.StrokeOf(att), role);
  }

  void Arc(const EllipseArc& arc, const TEntJwwAttr& att) override {
    const EllipseArc a = arc.Placed(view_);
    if (!a.Usable() || !Inside(ArcExtent(a))) return;
    FlattenArc(a, points_);
    const Stroke stroke = palette_.StrokeOf(att);
    ClipPolyline(clip_, points_, run_, [&](const std::vector<Point>& run) { sink_.Polyline(run, stroke, Role::kArc); });
  }

  void Dot(Point p, const TEntJwwAttr& att, Role role) override {
    const Point q = view_(p);
    if (q.x < clip_.minX || q.x > clip_.maxX || q.y < clip_.minY || q.y > clip_.maxY) return;
    sink_.Dot(q, std::clamp(1 + palette_.Width(att.nPenColor) / 2, 1.5, 4.0), palette_.Color(att.nPenColor), role);
  }

  void Text(const TEntJwwMoji& m, const TextBox& box, Role role) override {
    const Point s = view_(box.start), e = view_(box.end), up = view_.Linear(box.up);
    if (!Inside(Corners(s, e - s, up))) return;
    const Point base = e - s;
    const double length = Length(base);
    // The height across the base line (a sheared insert leans its characters).
    const double height = length > 0 ? std::fabs(base.x * up.y - base.y * up.x) / length : Length(up);
    const Rgb color = palette_.Color(m.att.nPenColor);
    if (!(height > 0)) return;
    if (height > maxText_ || length > maxText_) {
      Outline(s, base, up, Stroke{color, 1, {}}, role);
      return;
    }
    FontFamilies(m.strFontName, fonts_);
    TextRun run;
    run.text = m.str;
    run.origin = s;
    run.angle = length > 0 ? std::atan2(base.y, base.x) : 0.0;
    run.height = height;
    run.length = length;
    run.fonts = fonts_;
    run.color = color;
    sink_.Text(run, role);
  }

  void Image(const ImageRef& ref, const TEntJwwMoji& m, Point o, Point r, Point u) override {
    ImagePlacement p;
    p.name = ref.name;
    p.origin = view_(o);
    p.right = view_.Linear(r);
    p.up = view_.Linear(u);
    if (!Inside(Corners(p.origin, p.right, p.up))) return;
    // Images of more than a few picture sides show as their frame, like such texts.
    const bool huge = Length(p.right) > maxText_ || Length(p.up) > maxText_;
    const std::vector<std::uint8_t>* bytes = huge ? nullptr : Fetch(ref);
    if (bytes) {
      p.bytes = *bytes;
      if (sink_.Image(p)) {
        ++result_.imagesShown;
        return;
      }
    }
    // Not at hand: a frame with the image's name in its lower-left corner.
    ++result_.imageFrames;
    const Stroke stroke{palette_.Color(m.att.nPenColor), 1, {}};
    Outline(p.origin, p.right, p.up, stroke, Role::kImageFrame);
    const double side = std::min(Length(p.right), Length(p.up));
    const double h = std::clamp(side * 0.15, 0.0, 14.0);
    if (h < 1 || ref.name.empty() || huge) return;
    const Point dir = (1.0 / Length(p.right)) * p.right;
    const Point inset = p.origin + (h * 0.5) * dir + (h * 0.5 / Length(p.up)) * p.up;
    FontFamilies({}, fonts_);
    TextRun run;
    run.text = ref.name;
    run.origin = inset;
    run.angle = std::atan2(dir.y, dir.x);
    run.height = h;
    run.fonts = fonts_;
    run.color = stroke.color;
    sink_.Text(run, Role::kImageFrame);
  }

  void Solid(const Point (&c)[4], const TEntJwwSolid& s) override {
    polygon_.clear();
    for (const Point& p : c) polygon_.push_back(view_(p));
    Fill(s);
  }

  void FilledArc(const EllipseArc& arc, const TEntJwwSolid& s) override {
    const EllipseArc a = arc.Placed(view_);
    if (!a.Usable() || !Inside(SectorExtent(a))) return;
    FlattenSector(a, polygon_);
    Fill(s);
  }

 private:
  static Extent Corners(Point o, Point r, Point u) {
    Extent e;
    e.Add(o);
    e.Add(o + r);
    e.Add(o + u);
    e.Add(o + r + u);
    return e;
  }

  bool Inside(const Extent& e) const {
    return !e.Empty() && e.maxX >= clip_.minX && e.minX <= clip_.maxX && e.maxY >= clip_.minY && e.minY <= clip_.maxY;
  }

  // Fills polygon_ (picture coordinates) in the solid's colour, clipped to the picture.
  void Fill(const TEntJwwSolid& s) {
    ClipPolygon(clip_, polygon_, clipped_);
    if (clipped_.size() < 3) return;
    const Rgb fill = s.att.nPenColor == kOwnColor ? FromColorRef(s.Color) : palette_.Color(s.att.nPenColor);
    sink_.Polygon(clipped_, fill, Role::kSolid);
  }

  void Outline(Point o, Point r, Point u, const Stroke& stroke, Role role) {
    points_ = {o, o + r, o + r + u, o + u, o};
    ClipPolyline(clip_, points_, run_, [&](const std::vector<Point>& run) { sink_.Polyline(run, stroke, role); });
  }

  const std::vector<std::uint8_t>* Fetch(const ImageRef& ref) {
    if (!images_) return nullptr;
    auto key = std::make_pair(ref.bound, ref.name);
    auto it = fetched_.find(key);
    if (it == fetched_.end()) {
      std::vector<std::uint8_t> bytes;
      const bool ok = imageBytes_ < kMaxImageBytesPerPicture && images_->Fetch(ref, bytes) &&
                      bytes.size() <= kMaxImageBytesPerPicture - imageBytes_;
      if (ok) imageBytes_ += bytes.size();
      it = fetched_.emplace(std::move(key), ok ? std::move(bytes) : std::vector<std::uint8_t>{}).first;
    }
    return it->second.empty() ? nullptr : &it->second;
  }

  const Palette& palette_;
  Affine view_;
  ImageSource* images_;
  Sink& sink_;
  RenderResult& result_;
  ClipRect clip_;
  double maxText_;
  std::vector<Point> points_, run_, polygon_, clipped_;
  std::vector<std::u16string_view> fonts_;
  std::map<std::pair<bool, String>, std::vector<std::uint8_t>> fetched_;
  std::uint64_t imageBytes_ = 0;
};

}  // namespace

PictureSize FitPictureSize(const Extent& e, int maxWidth, int maxHeight, int margin) {
  maxWidth = std::clamp(maxWidth, 1, kMaxPictureSide);
  maxHeight = std::clamp(maxHeight, 1, kMaxPictureSide);
  const double w = e.Width(), h = e.Height();
  if (e.Empty() || !(w > 0 && h > 0) || !std::isfinite(w) || !std::isfinite(h)) return {maxWidth, maxHeight};
  const double availW = std::max(1, maxWidth - 2 * margin), availH = std::max(1, maxHeight - 2 * margin);
  const double s = std::min(availW / w, availH / h);
  auto side = [&](double d, int max) {
    return std::clamp(static_cast<int>(std::ceil(d * s)) + 2 * margin, std::min(max, 64), max);
  };
  return {side(w, maxWidth), side(h, maxHeight)};
}

Affine FitView(const Extent& e, int width, int height, int margin) {
  if (e.Empty()) return Affine{1, 0, 0, -1, 0, static_cast<double>(height)};
  const double availW = std::max(1, width - 2 * margin), availH = std::max(1, height - 2 * margin);
  const double w = e.Width(), h = e.Height();
  double s = 1;
  if (w > 0 && h > 0) s = std::min(availW / w, availH / h);
  else if (w > 0) s = availW / w;
  else if (h > 0) s = availH / h;
  if (!(s > 0) || !std::isfinite(s)) s = 1;
  // Centre the extent: cx, cy map to the picture's middle.
  const double cx = e.minX / 2 + e.maxX / 2, cy = e.minY / 2 + e.maxY / 2;
  return Affine{s, 0, 0, -s, width / 2.0 - s * cx, height / 2.0 + s * cy};
}

Extent DrawingExtent(const DrawingInput& in, const WalkLimits& limits) {
  const Palette palette(in);
  ExtentConsumer c;
  WalkDrawing(in, palette, c, limits);
  return c.extent;
}

RenderResult Render(const DrawingInput& in, const RenderOptions& o, Sink& sink) {
  RenderResult result;
  const Palette palette(in);
  ExtentConsumer extent;
  result.walk = WalkDrawing(in, palette, extent, o.limits);
  result.extent = extent.extent;
  const int width = std::clamp(o.width, 1, kMaxPictureSide), height = std::clamp(o.height, 1, kMaxPictureSide);
  sink.Begin(width, height, kWhite);
  if (!result.walk.cancelled) {
    DrawConsumer draw(palette, FitView(result.extent, width, height, o.margin), width, height, o.images, sink, result);
    result.walk = WalkDrawing(in, palette, draw, o.limits);
  }
  sink.End();
  return result;
}

}  // namespace plandown::render
