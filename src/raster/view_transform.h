// The preview's view of a kept scene: window = scale · scene + offset, one scale for both
// axes. Zooming keeps the scene point under a chosen window point where it is; the scale
// stays within limits set relative to the fitted view.
#pragma once
#include "render/geometry.h"

namespace plandown::raster {

class ViewTransform {
 public:
  // The least and the most a view may be zoomed, as multiples of the fitted scale.
  static constexpr double kMinZoom = 0.25;
  static constexpr double kMaxZoom = 64;

  // Fits `scene` into width × height with `margin` pixels on every side, centred; an
  // empty or degenerate box gives the identity centred on its middle.
  void Fit(const render::Extent& scene, int width, int height, int margin);
  // Multiplies the scale by `factor` (kept within the limits) about `window`.
  void ZoomAbout(double factor, render::Point window);
  void Pan(double dx, double dy);

  render::Point ToWindow(render::Point scene) const { return {scale_ * scene.x + offsetX_, scale_ * scene.y + offsetY_}; }
  render::Point ToScene(render::Point window) const {
    return {(window.x - offsetX_) / scale_, (window.y - offsetY_) / scale_};
  }
  double Scale() const { return scale_; }
  double OffsetX() const { return offsetX_; }
  double OffsetY() const { return offsetY_; }
  // The scale relative to the last fit (1 right after fitting).
  double Zoom() const { return scale_ / fitScale_; }
  // The view is the fitted one, unchanged since.
  bool Fitted() const { return fitted_; }

 private:
  double scale_ = 1, offsetX_ = 0, offsetY_ = 0;
  double fitScale_ = 1;
  bool fitted_ = true;
};

}  // namespace plandown::raster
