// One file to convert: where it comes from, where it goes, where the former destination
// is kept.
#pragma once
#include "util/ustring.h"

namespace plandown {

// The turn of one conversion to place bound images in a destination folder that other
// conversions running at the same time may also write to: Begin waits until the
// conversions before it have placed theirs, End lets the next go on. A conversion that
// places no image calls End alone.
class ImagePlacementTurn {
 public:
  virtual ~ImagePlacementTurn() = default;
  virtual void Begin() = 0;
  virtual void End() = 0;
};

struct ConversionRequest {
  String source;
  String destination;
  String backup;  // empty: BackupPathFor(destination)
  // Where bound images are extracted while the drawing is converted (with a trailing
  // separator). Empty: a private folder made for this one conversion.
  String imageFolder;
  // Set when conversions run side by side; null: the images are placed at once.
  ImagePlacementTurn* imageTurn = nullptr;
};

}  // namespace plandown
