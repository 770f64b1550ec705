// SVG output: every primitive one element, classed by what it was drawn for (line, arc,
// point, text, dimension, solid, image, image-frame); strokes of consecutive lines share
// a group. Texts keep the drawing's font first in their font list; images are embedded.
#pragma once
#include <string>

#include "archive/outstream.h"
#include "render/renderer.h"
#include "render/sink.h"
#include "util/ustring.h"

namespace plandown::render {

class SvgSink final : public Sink {
 public:
  explicit SvgSink(OutStream& out) : out_(out) {}
  void Begin(int width, int height, Rgb background) override;
  void Polyline(std::span<const Point> points, const Stroke& stroke, Role role) override;
  void Polygon(std::span<const Point> points, Rgb fill, Role role) override;
  void Dot(Point centre, double radius, Rgb fill, Role role) override;
  void Text(const TextRun& run, Role role) override;
  bool Image(const ImagePlacement& image) override;
  void End() override;

 private:
  void OpenStroke(const Stroke& s);
  void CloseStroke();
  void Flush();

  OutStream& out_;
  std::string buf_;
  bool strokeOpen_ = false;
  Stroke stroke_;
};

// Renders `in` into the SVG file `path`; a failed write leaves no file there.
bool WriteSvgPicture(const DrawingInput& in, const RenderOptions& options, const String& path, RenderResult& result);

// The MIME type of an image file by its first bytes; empty when unknown.
std::string_view ImageMimeType(std::span<const std::uint8_t> bytes);

}  // namespace plandown::render
