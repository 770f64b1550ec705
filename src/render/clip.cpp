#include "render/clip.h"

namespace plandown::render {

bool ClipSegment(const ClipRect& r, Point& a, Point& b) {
  // Liang–Barsky.
  const double dx = b.x - a.x, dy = b.y - a.y;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - r.minX, r.maxX - a.x, a.y - r.minY, r.maxY - a.y};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  const Point a0 = a;
  if (t1 < 1) b = {a0.x + t1 * dx, a0.y + t1 * dy};
  if (t0 > 0) a = {a0.x + t0 * dx, a0.y + t0 * dy};
  return true;
}

void ClipPolygon(const ClipRect& r, const std::vector<Point>& in, std::vector<Point>& out) {
  std::vector<Point> cur = in;
  auto pass = [&](auto inside, auto cross) {
    out.clear();
    for (std::size_t i = 0; i < cur.size(); ++i) {
      const Point p = cur[i], q = cur[(i + 1) % cur.size()];
      const bool pin = inside(p), qin = inside(q);
      if (pin) out.push_back(p);
      if (pin != qin) out.push_back(cross(p, q));
    }
    cur.swap(out);
  };
  auto atX = [](double x) {
    return [x](Point p, Point q) { return Point{x, p.y + (q.y - p.y) * (x - p.x) / (q.x - p.x)}; };
  };
  auto atY = [](double y) {
    return [y](Point p, Point q) { return Point{p.x + (q.x - p.x) * (y - p.y) / (q.y - p.y), y}; };
  };
  pass([&](Point p) { return p.x >= r.minX; }, atX(r.minX));
  pass([&](Point p) { return p.x <= r.maxX; }, atX(r.maxX));
  pass([&](Point p) { return p.y >= r.minY; }, atY(r.minY));
  pass([&](Point p) { return p.y <= r.maxY; }, atY(r.maxY));
  out.swap(cur);
}

}  // namespace plandown::render
