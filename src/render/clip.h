// Clipping to the picture (with a border), so that outputs only ever see coordinates of
// a sensible size however far a drawing reaches.
#pragma once
#include <vector>

#include "render/geometry.h"

namespace plandown::render {

struct ClipRect {
  double minX, minY, maxX, maxY;
};

// The part of segment a–b inside the rectangle; false when none is.
bool ClipSegment(const ClipRect& r, Point& a, Point& b);

// The runs of a polyline inside the rectangle, each handed to `emit` as a vector of at
// least two points.
template <class Emit>
void ClipPolyline(const ClipRect& r, const std::vector<Point>& pts, std::vector<Point>& run, Emit&& emit) {
  run.clear();
  auto flush = [&] {
    if (run.size() >= 2) emit(run);
    run.clear();
  };
  for (std::size_t i = 1; i < pts.size(); ++i) {
    Point a = pts[i - 1], b = pts[i];
    if (!ClipSegment(r, a, b)) {
      flush();
      continue;
    }
    if (run.empty() || !(a == pts[i - 1])) {  // the first piece, or one that enters the rectangle
      flush();
      run.push_back(a);
    }
    run.push_back(b);
    if (!(b == pts[i])) flush();  // it leaves the rectangle
  }
  if (run.size() >= 2) emit(run);
}

// The polygon cut to the rectangle (Sutherland–Hodgman); `out` is replaced.
void ClipPolygon(const ClipRect& r, const std::vector<Point>& in, std::vector<Point>& out);

}  // namespace plandown::render
