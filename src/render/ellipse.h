// Circles, arcs, ellipses and elliptic arcs as one parametric form, so that any affine
// placement (insert scales, rotations, the view) keeps them exact:
//   P(t) = centre + u·cos t + v·sin t,  t from `start` over `sweep` radians.
#pragma once
#include <vector>

#include "jww/types.h"
#include "render/geometry.h"

namespace plandown::render {

struct EllipseArc {
  Point centre;
  Point u, v;  // the conjugate half-axes
  double start = 0;
  double sweep = 0;  // may be negative; ±2π or more is the whole ellipse
  bool full = false;

  Point At(double t) const;
  bool Usable() const;
  // Under a placement.
  EllipseArc Placed(const Affine& m) const;
};

// The arc of an entity: radius dHankei, flattening dHenpeiRitsu (minor/major), tilt
// radKatamukiKaku, start radKaishiKaku and sweep radEnkoKaku in the circle the ellipse
// is flattened from; bZenEnFlg draws the whole ellipse.
EllipseArc ArcOf(const TEntJwwEnko& e);

// The exact bounding box.
Extent ArcExtent(const EllipseArc& a);

// Points along the arc, close enough for drawing at a scale where a unit is one pixel
// (chords stay within about a quarter pixel up to a cap on the count). `out` is replaced.
void FlattenArc(const EllipseArc& a, std::vector<Point>& out);

// Most chords one arc is drawn with.
inline constexpr int kMaxArcChords = 1024;

}  // namespace plandown::render
