#include "render/png_file.h"

namespace plandown::render {

PngPictureStatus SavePngPicture(const DrawingInput& in, const RenderOptions& options, const String& path,
                                RenderResult& result) {
  const GraphicsEntries* graphics = GraphicsModule();
  if (graphics == nullptr) return PngPictureStatus::kNoGraphics;
  return graphics->writePngPicture(in, options, path, result);
}

}  // namespace plandown::render
