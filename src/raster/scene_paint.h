// Draws the part of a kept scene that a view shows into an RGB picture of the window's
// size, through the same sink as every raster picture. Items outside the view are not
// looked at further; items that fit in a pixel are plotted as that pixel; dots that
// land on a pixel already holding one are left out. Drawn on the caller's thread: the
// window's, for the preview.
#pragma once
#include <cstdint>

#include "raster/kept_scene.h"
#include "raster/picture.h"
#include "raster/view_transform.h"

namespace plandown::raster {

struct PaintStats {
  std::uint64_t drawn = 0;    // items handed to the graphics context
  std::uint64_t specks = 0;   // items plotted as one pixel
  std::uint64_t skipped = 0;  // items outside the view or under a dot already there
};

// False when the graphics library could not start.
bool PaintScene(const KeptScene& scene, const ViewTransform& view, int width, int height, RasterPicture& out,
                PaintStats* stats = nullptr);

}  // namespace plandown::raster
