// The bound-image steps of one drawing conversion: how the reader treats the image
// section, what happens to the images before the drawing is written, and the clean-up.
#pragma once
#include "convert/settings.h"
#include "jww/jww_data.h"
#include "util/ustring.h"

namespace plandown {

// Before FileIn. For now the section is read past (so that a cut-short section counts as
// a damaged read) and no file is created.
// TODO(images): extract into a folder of this conversion alone (CreatePrivateTempFolder),
// never one shared by concurrent conversions.
void PrepareBoundImageReading(TJwwData& doc, const ConversionSettings& settings);

// After the image texts were rewritten and before FileOut: inflate, copy next to the
// destination, convert compressed images. TODO(images): BindImageExplode, BindImageCopy,
// ConvertExtractedImage.
void PlaceBoundImages(TJwwData& doc, const String& destinationFolder, const ConversionSettings& settings);

// After the read, on every path: remove what extraction left (the document's extracted
// files and its private folder). TODO(images): nothing is extracted yet.
void ReleaseBoundImages(TJwwData& doc);

}  // namespace plandown
