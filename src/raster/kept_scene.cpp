#include "raster/kept_scene.h"

#include <algorithm>
#include <cmath>

namespace plandown::raster {

using render::Point;
using render::Rgb;

namespace {

std::uint32_t Packed(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

render::Extent BoxOf(std::span<const Point> points) {
  render::Extent e;
  for (const Point& p : points) e.Add(p);
  return e;
}

}  // namespace

void SceneRecorder::Begin(int width, int height, Rgb) {
  scene_.width = width;
  scene_.height = height;
}

std::uint32_t SceneRecorder::StrokeIndex(Rgb color, double width, std::span<const double> dashes) {
  // The renderer hands out its line types' dash arrays from one palette: the pointer
  // tells them apart for as long as the recording lasts.
  const StrokeKey key{Packed(color), width, dashes.data(), dashes.size()};
  auto it = strokeIndex_.find(key);
  if (it != strokeIndex_.end()) return it->second;
  KeptScene::StoredStroke s{color, width, static_cast<std::uint32_t>(scene_.dashes.size()),
                            static_cast<std::uint32_t>(dashes.size())};
  scene_.dashes.insert(scene_.dashes.end(), dashes.begin(), dashes.end());
  scene_.strokes.push_back(s);
  const auto index = static_cast<std::uint32_t>(scene_.strokes.size() - 1);
  strokeIndex_.emplace(key, index);
  return index;
}

void SceneRecorder::Add(const render::Extent& box, std::uint32_t first, std::uint32_t count, std::uint32_t style,
                        KeptScene::Kind kind, render::Role role) {
  if (box.Empty()) return;
  scene_.items.push_back({box, first, count, style, kind, role});
  scene_.bounds.Add(box);
}

void SceneRecorder::Polyline(std::span<const Point> points, const render::Stroke& stroke, render::Role role) {
  if (points.size() < 2) return;
  const auto first = static_cast<std::uint32_t>(scene_.points.size());
  scene_.points.insert(scene_.points.end(), points.begin(), points.end());
  Add(BoxOf(points), first, static_cast<std::uint32_t>(points.size()), StrokeIndex(stroke.color, stroke.width, stroke.dashes),
      KeptScene::Kind::kPolyline, role);
}

void SceneRecorder::Polygon(std::span<const Point> points, Rgb fill, render::Role role) {
  if (points.size() < 3) return;
  const auto first = static_cast<std::uint32_t>(scene_.points.size());
  scene_.points.insert(scene_.points.end(), points.begin(), points.end());
  Add(BoxOf(points), first, static_cast<std::uint32_t>(points.size()), StrokeIndex(fill, 0, {}),
      KeptScene::Kind::kPolygon, role);
}

void SceneRecorder::Dot(Point centre, double radius, Rgb fill, render::Role role) {
  const auto first = static_cast<std::uint32_t>(scene_.points.size());
  scene_.points.push_back(centre);
  render::Extent box;
  box.Add(centre);
  Add(box, first, 1, StrokeIndex(fill, radius, {}), KeptScene::Kind::kDot, role);
}

void SceneRecorder::Text(const render::TextRun& run, render::Role role) {
  if (run.text.empty() || !(run.height > 0)) return;
  std::u16string fontKey;
  for (const auto f : run.fonts) (fontKey += f) += u'\n';
  auto it = fontIndex_.find(fontKey);
  if (it == fontIndex_.end()) {
    scene_.fontSets.emplace_back(run.fonts.begin(), run.fonts.end());
    it = fontIndex_.emplace(fontKey, static_cast<std::uint32_t>(scene_.fontSets.size() - 1)).first;
  }
  KeptScene::StoredText t;
  t.origin = run.origin;
  t.angle = run.angle;
  t.height = run.height;
  t.length = run.length;
  t.textFirst = static_cast<std::uint32_t>(scene_.characters.size());
  t.textCount = static_cast<std::uint32_t>(run.text.size());
  t.fonts = it->second;
  t.color = run.color;
  scene_.characters += run.text;
  scene_.texts.push_back(t);
  // Without a stored length the text is as wide as its font makes it: a full-width
  // character per unit is as wide as any.
  const double reach = (run.length > 0 ? run.length : run.height * static_cast<double>(run.text.size())) + run.height;
  render::Extent box;
  box.Add(Point{run.origin.x - reach, run.origin.y - reach});
  box.Add(Point{run.origin.x + reach, run.origin.y + reach});
  Add(box, static_cast<std::uint32_t>(scene_.texts.size() - 1), 0, 0, KeptScene::Kind::kText, role);
}

bool SceneRecorder::Image(const render::ImagePlacement& image) {
  if (image.bytes.empty()) return false;
  auto it = imageIndex_.find(image.bytes.data());
  if (it == imageIndex_.end()) {
    scene_.imageFiles.emplace_back(image.bytes.begin(), image.bytes.end());
    it = imageIndex_.emplace(image.bytes.data(), static_cast<std::uint32_t>(scene_.imageFiles.size() - 1)).first;
  }
  scene_.images.push_back({std::u16string(image.name), it->second, image.origin, image.right, image.up});
  const Point o = image.origin;
  const Point corners[4] = {o, o + image.right, o + image.up, o + image.right + image.up};
  Add(BoxOf(corners), static_cast<std::uint32_t>(scene_.images.size() - 1), 0, 0, KeptScene::Kind::kImage,
      render::Role::kImage);
  return true;
}

void RecordScene(const render::DrawingInput& in, render::ImageSource* images, const render::WalkLimits& limits,
                 KeptScene& scene) {
  scene = KeptScene{};
  SceneRecorder recorder(scene);
  render::RenderOptions options;
  options.width = kSceneSide;
  options.height = kSceneSide;
  options.margin = 0;
  options.images = images;
  options.limits = limits;
  scene.result = render::Render(in, options, recorder);
}

}  // namespace plandown::raster
