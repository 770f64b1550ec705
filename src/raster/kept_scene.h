// The renderer's output kept for drawing again: a Sink that records every primitive,
// with its box, in the coordinates of the picture it was rendered for (the scene). A
// view of the scene at any zoom is then drawn without walking the document again, and
// only what the view shows. Recording touches no graphics library, so a scene may be
// made on any thread.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "render/renderer.h"
#include "render/sink.h"

namespace plandown::raster {

struct KeptScene {
  enum class Kind : std::uint8_t { kPolyline, kPolygon, kDot, kText, kImage };
  struct Item {
    render::Extent box;   // scene coordinates; what the item covers (texts: generously)
    std::uint32_t first;  // points, texts or images: the index of its own
    std::uint32_t count;  // points of a polyline or polygon
    std::uint32_t style;  // strokes: the stroke (polygons and dots: colour, dot radius as width)
    Kind kind;
    render::Role role;
  };
  struct StoredStroke {
    render::Rgb color;
    double width = 1;
    std::uint32_t dashFirst = 0, dashCount = 0;
  };
  struct StoredText {
    render::Point origin;
    double angle = 0, height = 0, length = 0;
    std::uint32_t textFirst = 0, textCount = 0;
    std::uint32_t fonts = 0;  // index into fontSets
    render::Rgb color;
  };
  struct StoredImage {
    std::u16string name;
    std::uint32_t bytes = 0;  // index into imageFiles
    render::Point origin, right, up;
  };

  int width = 0, height = 0;  // of the picture the scene was rendered for
  render::Extent bounds;      // of every item
  std::vector<Item> items;    // in drawing order
  std::vector<render::Point> points;
  std::vector<StoredStroke> strokes;
  std::vector<double> dashes;
  std::vector<StoredText> texts;
  std::u16string characters;
  std::vector<std::vector<std::u16string>> fontSets;
  std::vector<StoredImage> images;
  std::vector<std::vector<std::uint8_t>> imageFiles;
  render::RenderResult result;
};

class SceneRecorder final : public render::Sink {
 public:
  explicit SceneRecorder(KeptScene& scene) : scene_(scene) {}
  void Begin(int width, int height, render::Rgb background) override;
  void Polyline(std::span<const render::Point> points, const render::Stroke& stroke, render::Role role) override;
  void Polygon(std::span<const render::Point> points, render::Rgb fill, render::Role role) override;
  void Dot(render::Point centre, double radius, render::Rgb fill, render::Role role) override;
  void Text(const render::TextRun& run, render::Role role) override;
  // Kept whole; whether the image decodes is known only when the scene is drawn.
  bool Image(const render::ImagePlacement& image) override;
  void End() override {}

 private:
  std::uint32_t StrokeIndex(render::Rgb color, double width, std::span<const double> dashes);
  void Add(const render::Extent& box, std::uint32_t first, std::uint32_t count, std::uint32_t style,
           KeptScene::Kind kind, render::Role role);

  KeptScene& scene_;
  using StrokeKey = std::tuple<std::uint32_t, double, const double*, std::size_t>;
  std::map<StrokeKey, std::uint32_t> strokeIndex_;
  std::map<std::u16string, std::uint32_t> fontIndex_;
  std::map<const std::uint8_t*, std::uint32_t> imageIndex_;
};

// The scene side the preview renders documents for: large enough that arcs stay smooth
// and small texts keep their glyphs at the deepest zoom.
inline constexpr int kSceneSide = 8192;

// Renders the document once into a scene of kSceneSide × kSceneSide.
void RecordScene(const render::DrawingInput& in, render::ImageSource* images, const render::WalkLimits& limits,
                 KeptScene& scene);

}  // namespace plandown::raster
