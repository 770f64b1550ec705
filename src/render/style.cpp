#include "render/style.h"

#include <algorithm>
#include <cmath>

#include "jww/downconvert.h"
#include "jww/versions.h"

namespace plandown::render {

namespace {

// Screen colours of a drawing made on the usual white background, for shapes (which
// carry no pen table) and for colour numbers outside the tables.
constexpr std::array<std::uint32_t, 10> kDefaultPens = {0xFFFFFF, 0xC0C000, 0x000000, 0x00C000, 0x00C0C0,
                                                        0xC000C0, 0xFF0000, 0x808000, 0x8000FF, 0xC0C0C0};

// Patterns of line types 2..9 where a table has none (period in bits, bits).
struct Pattern {
  int period;
  std::uint32_t bits;
};
constexpr std::array<Pattern, 8> kDefaultPatterns = {{{4, 0x99999999}, {8, 0xC3C3C3C3}, {8, 0xE7E7E7E7},
                                                      {16, 0xF99FF99F}, {32, 0xFFF99FFF}, {16, 0xF24FF24F},
                                                      {32, 0xFFF24FFF}, {4, 0x22222222}}};

// Pixels per pattern bit at the smallest pitch: long enough to tell the patterns apart
// at picture sizes.
constexpr double kDashUnit = 1.5;
// Pixels per millimetre of an SXF pitch.
constexpr double kPitchPixels = 3.0;

constexpr double kMaxPenWidth = 16;
// SXF pen widths are hundredths of a millimetre.
constexpr double kSxfWidthPerPixel = 25;

bool HasPattern(std::uint32_t bits) { return bits != 0 && bits != 0xFFFFFFFFu; }

int PeriodOf(std::int32_t unitDot) { return unitDot >= 1 && unitDot <= 32 ? unitDot : 32; }

double UnitOf(std::int32_t pitch) { return kDashUnit * std::clamp(pitch, 1, 4); }

std::vector<double> FromRow(const TEntJwwLineTypeNo* row, Pattern fallback, double stretch) {
  if (row && HasPattern(static_cast<std::uint32_t>(row->alLType)))
    return DashesFromBits(static_cast<std::uint32_t>(row->alLType), PeriodOf(row->anTokushuSenUintDot),
                          UnitOf(row->anTokushuSenPich) * stretch);
  return DashesFromBits(fallback.bits, fallback.period, kDashUnit * stretch);
}

template <class T>
const T* Row(std::span<const T> table, std::size_t i) {
  return i < table.size() ? &table[i] : nullptr;
}

// Lowers colours that would vanish on the white background, keeping their hue.
Rgb Legible(Rgb c) {
  const double lum = (0.299 * c.r + 0.587 * c.g + 0.114 * c.b) / 255.0;
  if (lum <= 0.85) return c;
  const double k = 0.6;
  return Rgb{static_cast<std::uint8_t>(c.r * k), static_cast<std::uint8_t>(c.g * k), static_cast<std::uint8_t>(c.b * k)};
}

}  // namespace

Rgb FromColorRef(std::uint32_t v) {
  return Rgb{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
             static_cast<std::uint8_t>((v >> 16) & 0xFF)};
}

std::vector<double> DashesFromBits(std::uint32_t bits, int period, double unit) {
  period = std::clamp(period, 1, 32);
  const std::uint32_t mask = period == 32 ? 0xFFFFFFFFu : ((1u << period) - 1);
  const std::uint32_t p = (period == 32 ? bits : bits >> (32 - period)) & mask;
  if (p == 0 || p == mask) return {};
  auto bit = [&](int i) { return ((p >> (period - 1 - (i % period))) & 1u) != 0; };
  // Start at a set bit that follows a clear one, so the pattern begins with a dash.
  int first = 0;
  while (!(bit(first) && !bit(first + period - 1))) ++first;
  std::vector<double> out;
  for (int i = 0; i < period;) {
    const bool on = bit(first + i);
    int run = 0;
    while (i < period && bit(first + i) == on) {
      ++run;
      ++i;
    }
    out.push_back(run * unit);
  }
  if (out.size() % 2) out.push_back(unit);  // cannot happen for a cyclic start, kept for safety
  return out;
}

Palette::Palette(const DrawingInput& in) : in_(in) {
  for (int t = 2; t <= 9; ++t)
    dashes_[t] = FromRow(Row(in.lineTypes, static_cast<std::size_t>(t - 2)), kDefaultPatterns[t - 2], 1.0);
  // 11..15 are random (wavy) lines: drawn solid. 16..19 are the double-pitch patterns.
  for (int t = 16; t <= 19; ++t)
    dashes_[t] = FromRow(Row(in.lineTypes3, static_cast<std::size_t>(t - 16)), kDefaultPatterns[t - 16], 2.0);
  for (int t = 31; t <= 62; ++t) {
    const TEntJwwLineTypeExNo* row = Row(in.sxfLineTypes, static_cast<std::size_t>(t - 30));
    std::vector<double>& d = dashes_[t];
    if (row && HasPattern(static_cast<std::uint32_t>(row->alLType))) {
      d = DashesFromBits(static_cast<std::uint32_t>(row->alLType), PeriodOf(row->anTokushuSenUintDot),
                         UnitOf(row->anTokushuSenPich));
    } else if (row && row->anUDLTypeSegment >= 2 && row->anUDLTypeSegment <= 10) {
      for (int k = 1; k <= row->anUDLTypeSegment; ++k) {
        const double v = row->aadUDLTypePitch[static_cast<std::size_t>(k)];
        d.push_back(std::isfinite(v) ? std::clamp(v * kPitchPixels, 1.0, 200.0) : 1.0);
      }
      if (d.size() % 2) d.push_back(d.back());
    } else {
      // No pattern stored: the ordinary type an older generation writes for it.
      TEntJwwAttr a;
      a.nPenStyle = static_cast<std::uint8_t>(t);
      a.nPenColor = 1;
      const int ordinary = NormalizeAttr(kVerSxf - 1, a, kAttrLine, nullptr).nPenStyle;
      if (ordinary != t && ordinary < 31) d = dashes_[ordinary];
    }
  }
}

bool Palette::Visible(const TEntJwwAttr& a) const {
  if (const TEntJwwLayerGroup* g = Row(in_.groups, a.nGLayer); g && g->anGLay == 0) return false;
  if (a.nGLayer < 16 && a.nLayer < 16)
    if (const TEntJwwLayer* l = Row(in_.layers, static_cast<std::size_t>(a.nGLayer) * 16 + a.nLayer); l && l->aanLay == 0)
      return false;
  return true;
}

Rgb Palette::Color(std::uint16_t n) const {
  std::uint32_t v = kDefaultPens[2];
  if (n >= 1 && n <= 9) {
    const TEntJwwColorNo* row = Row(in_.pens, n);
    v = row ? static_cast<std::uint32_t>(row->aPenColor) : kDefaultPens[n];
  } else if (n >= 101 && n <= 356) {
    if (const TEntJwwColorExNo* row = Row(in_.sxfColors, static_cast<std::size_t>(n - 100)))
      v = static_cast<std::uint32_t>(row->aPenColor);
  }
  return Legible(FromColorRef(v));
}

double Palette::Width(std::uint16_t n) const {
  double w = 1;
  if (n >= 1 && n <= 9) {
    if (const TEntJwwColorNo* row = Row(in_.pens, n)) w = row->anPenWidth;
  } else if (n >= 101 && n <= 356) {
    if (const TEntJwwColorExNo* row = Row(in_.sxfColors, static_cast<std::size_t>(n - 100)))
      w = row->anPenWidth / kSxfWidthPerPixel;
  }
  return std::clamp(w, 1.0, kMaxPenWidth);
}

std::span<const double> Palette::Dashes(std::uint8_t t) const { return dashes_[t]; }

}  // namespace plandown::render
