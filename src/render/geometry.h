// Plane geometry of the renderer: points, the affine placement of a block insert, and
// the axis-aligned extent of what is drawn.
#pragma once
#include <algorithm>
#include <cmath>
#include <limits>

namespace plandown::render {

struct Point {
  double x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator*(double s, Point a) { return {s * a.x, s * a.y}; }
inline double Length(Point a) { return std::hypot(a.x, a.y); }

// Coordinates beyond this are treated like non-finite ones: their differences would
// overflow, and no real drawing reaches them.
inline constexpr double kMaxCoordinate = 1e100;
inline bool Usable(double v) { return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate; }
inline bool Usable(Point p) { return Usable(p.x) && Usable(p.y); }

// x' = a·x + b·y + tx, y' = c·x + d·y + ty; the identity by default. A block-tree node's
// placement is {r1, r2, r3, r4, x, y}.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  Point operator()(Point p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty}; }
  // The linear part only (for directions and lengths).
  Point Linear(Point v) const { return {a * v.x + b * v.y, c * v.x + d * v.y}; }
  bool Usable() const {
    return render::Usable(a) && render::Usable(b) && render::Usable(c) && render::Usable(d) && render::Usable(tx) &&
           render::Usable(ty);
  }
  // This placement after `inner` (inner applied first).
  Affine Then(const Affine& inner) const {
    return {a * inner.a + b * inner.c, a * inner.b + b * inner.d, c * inner.a + d * inner.c,
            c * inner.b + d * inner.d, a * inner.tx + b * inner.ty + tx, c * inner.tx + d * inner.ty + ty};
  }
};

// The smallest axis-aligned rectangle that holds every point added; empty at first.
struct Extent {
  double minX = std::numeric_limits<double>::infinity();
  double minY = std::numeric_limits<double>::infinity();
  double maxX = -std::numeric_limits<double>::infinity();
  double maxY = -std::numeric_limits<double>::infinity();

  bool Empty() const { return !(minX <= maxX && minY <= maxY); }
  void Add(Point p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
  void Add(const Extent& e) {
    if (e.Empty()) return;
    Add(Point{e.minX, e.minY});
    Add(Point{e.maxX, e.maxY});
  }
  double Width() const { return Empty() ? 0 : maxX - minX; }
  double Height() const { return Empty() ? 0 : maxY - minY; }
  bool Intersects(const Extent& e) const {
    return !Empty() && !e.Empty() && minX <= e.maxX && e.minX <= maxX && minY <= e.maxY && e.minY <= maxY;
  }
  friend bool operator==(const Extent&, const Extent&) = default;
};

}  // namespace plandown::render
