#include "support/picture_check.h"

#include <algorithm>
#include <cmath>

namespace plandown::testing {

namespace {
// The renderer clips to the picture with a border of 64 pixels; strokes may reach a
// little further, nothing else.
constexpr double kBorder = 64.5;
}  // namespace

void CheckingSink::Check(render::Point p, const char* what, double slack) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
    if (broken.empty()) broken = std::string(what) + " with a coordinate that is not finite";
    return;
  }
  if (p.x < -kBorder - slack || p.y < -kBorder - slack || p.x > width_ + kBorder + slack || p.y > height_ + kBorder + slack)
    if (broken.empty()) broken = std::string(what) + " far outside the picture";
  box.Add(p);
}

void CheckingSink::Begin(int width, int height, render::Rgb) {
  if (begun_ && broken.empty()) broken = "Begin twice";
  begun_ = true;
  width_ = width;
  height_ = height;
  if ((width <= 0 || height <= 0) && broken.empty()) broken = "a picture without pixels";
}

void CheckingSink::Polyline(std::span<const render::Point> pts, const render::Stroke& s, render::Role role) {
  ++polylines;
  ++byRole[static_cast<std::size_t>(role)];
  if (pts.size() < 2 && broken.empty()) broken = "a polyline of fewer than two points";
  if (!(s.width > 0) && broken.empty()) broken = "a stroke without width";
  for (double d : s.dashes)
    if (!(d > 0) && broken.empty()) broken = "a dash that is not positive";
  for (const render::Point& p : pts) Check(p, "a polyline");
}

void CheckingSink::Polygon(std::span<const render::Point> pts, render::Rgb, render::Role role) {
  ++polygons;
  ++byRole[static_cast<std::size_t>(role)];
  if (pts.size() < 3 && broken.empty()) broken = "a polygon of fewer than three points";
  for (const render::Point& p : pts) Check(p, "a polygon");
}

void CheckingSink::Dot(render::Point c, double r, render::Rgb, render::Role role) {
  ++dots;
  ++byRole[static_cast<std::size_t>(role)];
  if (!(r > 0 && r < 10) && broken.empty()) broken = "a dot of an odd radius";
  Check(c, "a dot");
}

void CheckingSink::Text(const render::TextRun& t, render::Role role) {
  ++texts;
  ++byRole[static_cast<std::size_t>(role)];
  if (t.text.empty() && broken.empty()) broken = "an empty text";
  if (!(t.height > 0 && std::isfinite(t.height)) && broken.empty()) broken = "a text without height";
  if (!(t.length >= 0 && std::isfinite(t.length)) && broken.empty()) broken = "a text of an odd length";
  if (!std::isfinite(t.angle) && broken.empty()) broken = "a text at an angle that is not finite";
  if (t.fonts.empty() && broken.empty()) broken = "a text without fonts";
  // A text is kept whole when any part of it shows; texts of more than four picture
  // sides are drawn as their box.
  Check(t.origin, "a text", 4.0 * std::max(width_, height_));
}

bool CheckingSink::Image(const render::ImagePlacement& im) {
  ++images;
  ++byRole[static_cast<std::size_t>(render::Role::kImage)];
  for (const render::Point& p : {im.origin, im.origin + im.right, im.origin + im.up})
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
      if (broken.empty()) broken = "an image with a corner that is not finite";
  box.Add(im.origin);
  return !im.bytes.empty();
}

void CheckingSink::End() {
  if (!begun_ && broken.empty()) broken = "End without Begin";
  ended_ = true;
}

std::string CheckPicture(const render::DrawingInput& in, int width, int height) {
  CheckingSink sink;
  render::RenderOptions o;
  o.width = width;
  o.height = height;
  const render::RenderResult r = render::Render(in, o, sink);
  if (!sink.broken.empty()) return "picture: " + sink.broken;
  if (!r.extent.Empty() && !(std::isfinite(r.extent.Width()) && std::isfinite(r.extent.Height())))
    return "picture: an extent that is not finite";
  if (r.walk.insertedEntities > o.limits.maxInsertedEntities) return "picture: inserts drew past their limit";
  if (render::DrawingExtent(in) != r.extent) return "picture: the extent differs from the one drawn";
  return {};
}

}  // namespace plandown::testing
