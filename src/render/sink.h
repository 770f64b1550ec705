// What the renderer emits: drawing primitives in picture coordinates (pixels, origin top
// left, y downwards), for an output to draw (SVG text, a raster image, a window).
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "render/geometry.h"

namespace plandown::render {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// What a primitive was drawn for; outputs may mark it (SVG classes) but draw all alike.
enum class Role : std::uint8_t {
  kLine,        // a line entity
  kArc,         // a circle, arc or ellipse
  kPoint,       // a point entity
  kText,        // a text entity
  kDimension,   // any part of a dimension
  kSolid,       // a solid fill
  kImage,       // a bound or linked image
  kImageFrame,  // the box and name shown for an image that is not at hand
};
const char* RoleName(Role r);

struct Stroke {
  Rgb color;
  double width = 1;                 // pixels
  std::span<const double> dashes;   // on, off, on, off ... in pixels; empty for a solid line
  bool operator==(const Stroke& o) const {
    return color == o.color && width == o.width && dashes.data() == o.dashes.data() && dashes.size() == o.dashes.size();
  }
};

struct TextRun {
  std::u16string_view text;
  Point origin;        // the start of the base line
  double angle = 0;    // of the base line, radians, clockwise on the picture (y down)
  double height = 0;   // character height, pixels
  double length = 0;   // the base line's length in pixels the text is fitted to; 0 for its natural width
  std::span<const std::u16string_view> fonts;  // families to try in order (the drawing's first)
  Rgb color;
};

struct ImagePlacement {
  std::u16string_view name;
  std::span<const std::uint8_t> bytes;  // the image file (BMP, PNG, JPEG, GIF, TIFF)
  Point origin;  // where the image's lower-left corner lies
  Point right;   // the picture vector of the image's bottom edge (left to right)
  Point up;      // the picture vector of its left edge (bottom to top)
};

class Sink {
 public:
  virtual ~Sink() = default;
  virtual void Begin(int width, int height, Rgb background) = 0;
  virtual void Polyline(std::span<const Point> points, const Stroke& stroke, Role role) = 0;
  // A closed polygon, filled (nonzero rule).
  virtual void Polygon(std::span<const Point> points, Rgb fill, Role role) = 0;
  virtual void Dot(Point centre, double radius, Rgb fill, Role role) = 0;
  virtual void Text(const TextRun& run, Role role) = 0;
  // False when the image cannot be shown; the renderer then draws a frame and the name.
  virtual bool Image(const ImagePlacement& image) = 0;
  virtual void End() = 0;
};

}  // namespace plandown::render
