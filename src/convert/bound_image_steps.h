// The bound-image steps of one drawing conversion: where the reader extracts the images,
// what happens to them before the drawing is written, and the clean-up.
#pragma once
#include <vector>

#include "convert/settings.h"
#include "jww/jww_data.h"
#include "util/ustring.h"

namespace plandown {

// Deletes the drawing's extracted image files and empties the document.
void JwwDataFree(TJwwData& JW);

// The image folder of one conversion: the caller's, or a private one made for it and
// removed (with anything left in it) when the conversion ends.
class ImageFolderScope {
 public:
  explicit ImageFolderScope(const String& given);
  ~ImageFolderScope();
  ImageFolderScope(const ImageFolderScope&) = delete;
  ImageFolderScope& operator=(const ImageFolderScope&) = delete;
  const String& folder() const { return folder_; }

 private:
  String folder_;
  bool own_ = false;
};

// Before FileIn: images are extracted into `folder`; without a folder they are read past.
void PrepareBoundImageReading(TJwwData& doc, const String& folder);

// After the image texts were rewritten and before FileOut: inflate the compressed images,
// copy them next to the destination and, when the settings ask, convert them. Returns the
// image files left in the destination folder, in the order of the image list.
std::vector<String> PlaceBoundImages(TJwwData& doc, const String& destinationFolder, const ConversionSettings& settings);

// After the read, on every path: what extraction left goes.
void ReleaseBoundImages(TJwwData& doc);

}  // namespace plandown
