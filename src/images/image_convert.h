// Format conversion of extracted bound images, with wxImage's codecs in the codec module
// (images/codec_module.h). Works without a display; calls from several threads are
// serialised.
#pragma once
#include <cstdint>

#include "convert/settings.h"
#include "util/ustring.h"

namespace plandown {

// Loads the codec module and starts wx's base library and its image handlers once per
// process, from any thread. True when images can be loaded and saved. SaveImageAs calls it itself.
bool InitImageLibrary();

// Loads image file `src` and writes it to `dst` in the format the extension of `dst`
// names (.bmp, .gif, .png, .jpg/.jpeg, .tif/.tiff); `quality` (0..100) applies to JPEG.
// True when `dst` was written. On failure `dst` is untouched: the image is written under
// a temporary name beside it and renamed only when complete.
bool SaveImageAs(const String& src, const String& dst, std::int32_t quality);

// Converts the extracted image of stored name `Fname`, already copied into `folder`
// under its inflated name, to the name and format the settings give (see
// ConvertedImageName). With DeleteSourceImage set, the copied source is deleted after a
// good conversion. Does nothing when the converted name is the source's own. Returns the
// path of the converted file, empty when none was written.
String ConvertExtractedImage(const String& Fname, const String& folder, const ConversionSettings& s);

}  // namespace plandown
