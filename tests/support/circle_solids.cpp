#include "support/circle_solids.h"

#include <cmath>
#include <numbers>

#include "support/drawing_builder.h"

namespace plandown::testing {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x00A000, kMagenta = 0xC000C0;
constexpr std::uint32_t kBlue = 0xFF0000, kBrown = 0x004080;  // pens 3 and 4
render::Rgb RgbOf(std::uint32_t c) {
  return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
          static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}
}  // namespace

TEntJwwSolid CircleSolid(double cx, double cy, double r, double flat, double tilt, double start, double sweep,
                         std::uint16_t color, std::uint32_t rgb) {
  TEntJwwSolid s;
  s.att = Attr(101, color);
  s.start_x = cx;
  s.start_y = cy;
  s.end_x = r;
  s.end_y = flat;
  s.DPoint2_x = tilt;
  s.DPoint2_y = start;
  s.DPoint3_x = sweep;
  s.DPoint3_y = 100;
  s.Color = color == 10 ? rgb : 0;
  return s;
}

render::Point CircleSolidCase::At(double rho, double t) const {
  return centre + rho * (std::cos(t) * u + std::sin(t) * v);
}

void CircleSolidDrawing(TJwwData& d, std::vector<CircleSolidCase>* cases) {
  d.DataInit();
  d.Enthd.jwVer = 700;
  InitTables(d);
  d.EntCol[3].aPenColor = kBlue;
  d.EntCol[4].aPenColor = kBrown;
  ListBuilder main(MainList(d));
  const double full = 2 * kPi, c45 = std::cos(kPi / 4);
  main.Add(CircleSolid(20, 20, 10, 1, 0, 0, full, 10, kRed));
  main.Add(CircleSolid(50, 20, 4, 1, 0, 0, full, 3));
  main.Add(CircleSolid(90, 30, 15, 0.4, kPi / 4, 0, full, 4));
  main.Add(CircleSolid(130, 20, 12, 1, 0, 0, kPi, 10, kGreen));               // upper half
  main.Add(CircleSolid(170, 20, 12, 1, 0, kPi / 2, kPi / 2, 10, kMagenta));  // upper left quarter
  // A disc of radius 2 at (2, 0), inserted at (100, 70) scaled 2 × 3 and turned a quarter:
  // its x axis points up, its y axis to the left.
  ListBuilder(MemberList(AddDefinition(d, 1, u"アンカー"))).Add(CircleSolid(2, 0, 2, 1, 0, 0, full, 3));
  TEntJwwBlock b = Insert(1, 100, 70);
  b.dBairitsuX = 2;
  b.dBairitsuY = 3;
  b.radKaitenKaku = kPi / 2;
  main.Add(b);
  Finish(d);
  if (!cases) return;
  *cases = {
      {"own-colour disc", {20, 20}, {10, 0}, {0, 10}, 0, full, RgbOf(kRed)},
      {"small pen-colour disc", {50, 20}, {4, 0}, {0, 4}, 0, full, RgbOf(kBlue)},
      {"flattened tilted ellipse", {90, 30}, {15 * c45, 15 * c45}, {-6 * c45, 6 * c45}, 0, full, RgbOf(kBrown)},
      {"half sector", {130, 20}, {12, 0}, {0, 12}, 0, kPi, RgbOf(kGreen)},
      {"quarter sector", {170, 20}, {12, 0}, {0, 12}, kPi / 2, kPi / 2, RgbOf(kMagenta)},
      {"disc in a turned, scaled insert", {100, 74}, {0, 4}, {-6, 0}, 0, full, RgbOf(kBlue)},
  };
}

}  // namespace plandown::testing
