// How an entity's attributes look: visibility from the layer states, colour and width
// from the pen tables, dash pattern from the line-type tables.
#pragma once
#include <array>
#include <vector>

#include "jww/types.h"
#include "render/drawing_input.h"
#include "render/sink.h"

namespace plandown::render {

// Colour number a solid uses to carry its own colour value.
inline constexpr std::uint16_t kOwnColor = 10;
// Colour and line type number of construction (auxiliary) lines.
inline constexpr std::uint16_t kAuxiliary = 9;

// A colour value as the drawing stores it (0x00BBGGRR).
Rgb FromColorRef(std::uint32_t v);

class Palette {
 public:
  explicit Palette(const DrawingInput& in);

  bool Visible(const TEntJwwAttr& a) const;
  // Whether the drawing program prints what carries these attributes: the auxiliary
  // colour (9) of anything and the auxiliary line type (9) of lines and arcs are shown
  // on screen only.
  static bool Printed(const TEntJwwAttr& a, bool lineLike) {
    return a.nPenColor != kAuxiliary && !(lineLike && a.nPenStyle == kAuxiliary);
  }
  // Pen colour of a colour number (1..9 ordinary, 101..356 SXF), made legible on white.
  Rgb Color(std::uint16_t number) const;
  // Screen width in pixels of a colour number's pen (SXF widths are hundredths of a
  // millimetre, shown at four pixels a millimetre).
  double Width(std::uint16_t number) const;
  // Dash pattern of a line type (empty for solid lines); the span stays valid as long as
  // the palette does.
  std::span<const double> Dashes(std::uint8_t lineType) const;
  Stroke StrokeOf(const TEntJwwAttr& a) const { return Stroke{Color(a.nPenColor), Width(a.nPenColor), Dashes(a.nPenStyle)}; }

 private:
  DrawingInput in_;
  std::array<std::vector<double>, 256> dashes_;
};

// The dash pattern of a line-type bit pattern: the top `period` bits, read from the most
// significant, each `unit` pixels long; runs of set bits are drawn. Empty when every bit
// is set or none is.
std::vector<double> DashesFromBits(std::uint32_t bits, int period, double unit);

}  // namespace plandown::render
