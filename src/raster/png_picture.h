// A document drawn into a PNG file: the one entry to raster pictures for code that keeps
// wxWidgets out of its own (the command line), so that the raster code can be loaded
// only when a picture is asked for. Nothing here names a wx type.
#pragma once
#include "render/renderer.h"
#include "util/ustring.h"

namespace plandown::raster {

enum class PngPictureStatus {
  kWritten,
  kNoGraphics,   // the graphics library could not start: nothing drawn, no file
  kWriteFailed,  // the file could not be written: none is left at the path
};

// Renders `in` into a options.width × options.height picture and writes it to `path` as
// PNG; `result` tells what was drawn.
PngPictureStatus WritePngPicture(const render::DrawingInput& in, const render::RenderOptions& options,
                                 const String& path, render::RenderResult& result);

}  // namespace plandown::raster
