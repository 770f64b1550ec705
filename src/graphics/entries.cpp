#include "graphics/entries.h"

#include "graphics/image_codec.h"
#include "raster/png_picture.h"

namespace plandown::graphics {

const GraphicsEntries* LinkedGraphicsEntries() {
  static const GraphicsEntries kEntries = {
      kGraphicsEntriesVersion, sizeof(GraphicsEntries), &InitImageCodecs, &EncodeImage, &raster::WritePngPicture,
  };
  return &kEntries;
}

}  // namespace plandown::graphics
