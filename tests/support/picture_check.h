// A sink that keeps what the renderer emitted instead of drawing it: counts per role and
// kind of primitive, the box of every coordinate, and the promises every primitive must
// keep (finite coordinates within the picture's border, positive sizes).
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "render/renderer.h"
#include "render/sink.h"

namespace plandown::testing {

class CheckingSink final : public render::Sink {
 public:
  // Primitives by role (render::Role) and by kind.
  std::array<std::uint64_t, 8> byRole{};
  std::uint64_t polylines = 0, polygons = 0, dots = 0, texts = 0, images = 0;
  render::Extent box;  // of every point, text origin and image corner emitted
  std::string broken;  // the first broken promise, empty when none

  void Begin(int width, int height, render::Rgb background) override;
  void Polyline(std::span<const render::Point> points, const render::Stroke& stroke, render::Role role) override;
  void Polygon(std::span<const render::Point> points, render::Rgb fill, render::Role role) override;
  void Dot(render::Point centre, double radius, render::Rgb fill, render::Role role) override;
  void Text(const render::TextRun& run, render::Role role) override;
  bool Image(const render::ImagePlacement& image) override;
  void End() override;

  std::uint64_t Count(render::Role r) const { return byRole[static_cast<std::size_t>(r)]; }
  std::uint64_t Total() const { return polylines + polygons + dots + texts + images; }

 private:
  void Check(render::Point p, const char* what, double slack = 0);
  int width_ = 0, height_ = 0;
  bool begun_ = false, ended_ = false;
};

// Renders the document as a picture of the given size into a CheckingSink and checks the
// promises of the renderer; an empty text when they hold.
std::string CheckPicture(const render::DrawingInput& in, int width = 320, int height = 240);

}  // namespace plandown::testing
