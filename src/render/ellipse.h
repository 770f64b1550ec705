// Circles, arcs, ellipses and elliptic arcs as one parametric form, so that any affine
// placement (insert scales, rotations, the view) keeps them exact:
//   P(t) = centre + u·cos t + v·sin t,  t from `start` over `sweep` radians.
#pragma once
#include <cstdint>
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

// Line type number that makes a solid a filled circle, ellipse or sector.
inline constexpr std::uint8_t kCircleSolidStyle = 101;
inline bool IsCircleSolid(const TEntJwwSolid& s) { return s.att.nPenStyle == kCircleSolidStyle; }

// The arc that bounds a circle solid: centre start_x/start_y, radius end_x, flattening
// end_y, tilt DPoint2_x, start DPoint2_y and sweep DPoint3_x, as an arc entity holds them.
// DPoint3_y (the fill form) does not change the outline.
EllipseArc CircleSolidArc(const TEntJwwSolid& s);

// The exact bounding box.
Extent ArcExtent(const EllipseArc& a);
// The box of the filled sector: the arc and, unless it is whole, its centre.
Extent SectorExtent(const EllipseArc& a);

// Points along the arc, close enough for drawing at a scale where a unit is one pixel
// (chords stay within about a quarter pixel up to a cap on the count), and at least
// `minChordsPerTurn` chords a full turn. `out` is replaced.
void FlattenArc(const EllipseArc& a, std::vector<Point>& out, int minChordsPerTurn = 0);

// The outline of a filled sector (the arc, then its centre unless the arc is whole),
// fine enough to stay round when the picture is enlarged a few dozen times.
void FlattenSector(const EllipseArc& a, std::vector<Point>& out);

// Most chords one arc is drawn with.
inline constexpr int kMaxArcChords = 1024;

}  // namespace plandown::render
