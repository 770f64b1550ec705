// Raster pictures of documents: the renderer drawn through wxGraphicsContext into an RGB
// image, and PNG files of them. Works without a display.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "render/renderer.h"
#include "util/ustring.h"

namespace plandown::raster {

struct RasterPicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // rows top to bottom, three bytes a pixel
};

// Fonts, image handlers and the graphics renderer are shared by the whole process: one
// picture is drawn at a time, under this.
std::mutex& GraphicsMutex();

// Renders into a picture of options.width × options.height. False when the graphics
// library could not start (nothing is drawn then). One picture is drawn at a time.
bool RenderRaster(const render::DrawingInput& in, const render::RenderOptions& options, RasterPicture& out,
                  render::RenderResult& result);

// The PNG file of a picture.
bool EncodePng(const RasterPicture& picture, std::vector<std::uint8_t>& png);

// Writes the PNG file; a failed write leaves no file at `path`.
bool WritePngFile(const RasterPicture& picture, const String& path);

}  // namespace plandown::raster
