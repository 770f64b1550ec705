// A document drawn into a PNG file: the graphics code's entry for pictures, which the
// graphics table hands out (programs without the graphics code reach it through
// render/png_file.h). Nothing here names a wx type.
#pragma once
#include "render/renderer.h"
#include "util/graphics_module.h"
#include "util/ustring.h"

namespace plandown::raster {

using PngPictureStatus = plandown::PngPictureStatus;

// Renders `in` into a options.width × options.height picture and writes it to `path` as
// PNG; `result` tells what was drawn.
PngPictureStatus WritePngPicture(const render::DrawingInput& in, const render::RenderOptions& options,
                                 const String& path, render::RenderResult& result);

}  // namespace plandown::raster
