#include "render/ellipse.h"

#include <cmath>
#include <numbers>

namespace plandown::render {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Whether parameter t lies on the arc.
bool OnArc(const EllipseArc& a, double t) {
  if (a.full) return true;
  double from = a.start, span = a.sweep;
  if (span < 0) {
    from += span;
    span = -span;
  }
  double d = std::fmod(t - from, kTwoPi);
  if (d < 0) d += kTwoPi;
  return d <= span + 1e-12;
}

}  // namespace

Point EllipseArc::At(double t) const { return centre + std::cos(t) * u + std::sin(t) * v; }

bool EllipseArc::Usable() const {
  return render::Usable(centre) && render::Usable(u) && render::Usable(v) && std::isfinite(start) &&
         std::isfinite(sweep);
}

EllipseArc EllipseArc::Placed(const Affine& m) const {
  EllipseArc r = *this;
  r.centre = m(centre);
  r.u = m.Linear(u);
  r.v = m.Linear(v);
  return r;
}

EllipseArc ArcOf(const TEntJwwEnko& e) {
  EllipseArc a;
  const double r = e.dHankei, f = e.dHenpeiRitsu, tilt = e.radKatamukiKaku;
  const double c = std::cos(tilt), s = std::sin(tilt);
  a.centre = {e.start_x, e.start_y};
  a.u = {r * c, r * s};
  a.v = {-r * f * s, r * f * c};
  a.start = e.radKaishiKaku;
  a.sweep = e.radEnkoKaku;
  a.full = e.bZenEnFlg != 0 || std::fabs(e.radEnkoKaku) >= kTwoPi;
  if (a.full) {
    a.start = 0;
    a.sweep = kTwoPi;
  }
  return a;
}

EllipseArc CircleSolidArc(const TEntJwwSolid& s) {
  // The same fields in the same order as an arc entity's, without the full-circle flag.
  TEntJwwEnko e;
  e.start_x = s.start_x;
  e.start_y = s.start_y;
  e.dHankei = s.end_x;
  e.dHenpeiRitsu = s.end_y;
  e.radKatamukiKaku = s.DPoint2_x;
  e.radKaishiKaku = s.DPoint2_y;
  e.radEnkoKaku = s.DPoint3_x;
  e.bZenEnFlg = 0;
  return ArcOf(e);
}

Extent ArcExtent(const EllipseArc& a) {
  Extent e;
  if (!a.Usable()) return e;
  if (!a.full) {
    e.Add(a.At(a.start));
    e.Add(a.At(a.start + a.sweep));
  }
  // x(t) = cx + ux·cos t + vx·sin t is extreme where tan t = vx / ux, and likewise y.
  for (double t0 : {std::atan2(a.v.x, a.u.x), std::atan2(a.v.y, a.u.y)})
    for (double t : {t0, t0 + std::numbers::pi})
      if (OnArc(a, t)) e.Add(a.At(t));
  return e;
}

Extent SectorExtent(const EllipseArc& a) {
  Extent e = ArcExtent(a);
  if (!a.full && !e.Empty()) e.Add(a.centre);
  return e;
}

void FlattenArc(const EllipseArc& a, std::vector<Point>& out, int minChordsPerTurn) {
  out.clear();
  if (!a.Usable()) return;
  const double radius = std::max(Length(a.u), Length(a.v));
  const double span = a.full ? kTwoPi : std::min(std::fabs(a.sweep), kTwoPi);
  // A chord over angle θ leaves the curve by about r·θ²/8; a quarter pixel gives θ = √(2/r).
  double chords = span * std::sqrt(std::max(radius, 0.0) / 2.0);
  const double least = std::max(a.full ? 8.0 : 2.0, std::ceil(minChordsPerTurn * span / kTwoPi));
  chords = std::clamp(std::max(std::ceil(chords), least), 2.0, static_cast<double>(kMaxArcChords));
  const int n = static_cast<int>(chords);
  const double step = (a.sweep < 0 && !a.full ? -span : span) / n;
  out.reserve(static_cast<std::size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) out.push_back(a.At(a.start + step * i));
  if (a.full) out.back() = out.front();
}

void FlattenSector(const EllipseArc& a, std::vector<Point>& out) {
  // Small discs (anchor bolts, marks) are a few pixels across in a fitted picture; a
  // viewer that enlarges the recorded outline still shows them round.
  constexpr int kSectorChordsPerTurn = 64;
  FlattenArc(a, out, kSectorChordsPerTurn);
  if (!a.full && !out.empty()) out.push_back(a.centre);
}

}  // namespace plandown::render
