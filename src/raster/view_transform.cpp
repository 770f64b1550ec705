#include "raster/view_transform.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plandown::raster {

void ViewTransform::Fit(const render::Extent& scene, int width, int height, int margin) {
  const double availW = std::max(1, width - 2 * margin), availH = std::max(1, height - 2 * margin);
  // A box without width (or height) is fitted by its other side alone.
  const double w = scene.Width(), h = scene.Height();
  const double inf = std::numeric_limits<double>::infinity();
  double s = std::min(w > 0 ? availW / w : inf, h > 0 ? availH / h : inf);
  if (!(s > 0) || !std::isfinite(s)) s = 1;
  const double cx = scene.Empty() ? 0 : (scene.minX + scene.maxX) / 2;
  const double cy = scene.Empty() ? 0 : (scene.minY + scene.maxY) / 2;
  scale_ = s;
  fitScale_ = s;
  offsetX_ = width / 2.0 - s * cx;
  offsetY_ = height / 2.0 - s * cy;
  fitted_ = true;
}

void ViewTransform::ZoomAbout(double factor, render::Point window) {
  if (!(factor > 0) || !std::isfinite(factor)) return;
  const double s = std::clamp(scale_ * factor, fitScale_ * kMinZoom, fitScale_ * kMaxZoom);
  if (s == scale_) return;
  const render::Point under = ToScene(window);
  scale_ = s;
  offsetX_ = window.x - s * under.x;
  offsetY_ = window.y - s * under.y;
  fitted_ = false;
}

void ViewTransform::Pan(double dx, double dy) {
  if (dx == 0 && dy == 0) return;
  offsetX_ += dx;
  offsetY_ += dy;
  fitted_ = false;
}

}  // namespace plandown::raster
