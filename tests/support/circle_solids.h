// Circle solids (solids of line type 101: filled circles, ellipses and sectors) as the
// project's own writer stores them, and a drawing of them whose geometry the tests know.
#pragma once
#include <cstdint>
#include <vector>

#include "jww/jww_data.h"
#include "render/geometry.h"
#include "render/sink.h"

namespace plandown::testing {

// A circle solid: centre, radius, flattening, tilt, start and sweep (radians), the fill
// form real drawings hold (100), in colour `color` (10: its own colour `rgb`, 0x00BBGGRR).
TEntJwwSolid CircleSolid(double cx, double cy, double r, double flat, double tilt, double start, double sweep,
                         std::uint16_t color, std::uint32_t rgb = 0);

// One filled shape of the drawing, in drawing coordinates: P(ρ, t) = centre + ρ(u cos t +
// v sin t), filled for 0 ≤ ρ ≤ 1 and t from `start` over `sweep` (2π: whole).
struct CircleSolidCase {
  const char* name;
  render::Point centre, u, v;
  double start, sweep;
  render::Rgb fill;
  render::Point At(double rho, double t) const;
};

// Discs of several radii, a flattened and tilted ellipse, a half and a quarter sector, in
// own colours and in pen colours, and a disc in a definition inserted rotated and scaled.
// Everything lies within x 10..170, y 10..78. `cases` lists what is drawn.
void CircleSolidDrawing(TJwwData& d, std::vector<CircleSolidCase>* cases = nullptr);
inline constexpr render::Extent kCircleSolidDrawingExtent{10, 10, 170, 78};

}  // namespace plandown::testing
