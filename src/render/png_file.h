// PNG pictures of documents for programs that do not carry the graphics code: drawn by
// the graphics module, loaded on the first picture.
#pragma once
#include "render/renderer.h"
#include "util/graphics_module.h"
#include "util/ustring.h"

namespace plandown::render {

// Renders `in` into a options.width × options.height picture and writes it to `path` as
// PNG; kNoGraphics when the graphics library is not at hand.
PngPictureStatus SavePngPicture(const DrawingInput& in, const RenderOptions& options, const String& path,
                                RenderResult& result);

}  // namespace plandown::render
