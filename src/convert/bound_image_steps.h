// The bound-image steps of one drawing conversion: how the reader treats the image
// section, what happens to the images before the drawing is written, and the clean-up.
#pragma once
#include "convert/settings.h"
#include "jww/jww_data.h"
#include "util/ustring.h"

namespace plandown {

// Before FileIn. For now the section is read past (so that a cut-short section counts as
// a damaged read) and no file is created.
// TODO(images): extract into a scratch folder of this conversion (never one shared by
// concurrent conversions) once the extraction lands.
void PrepareBoundImageReading(TJwwData& doc, const ConversionSettings& settings);

// After the image texts were rewritten and before FileOut: inflate, copy next to the
// destination, convert compressed images. TODO(images): nothing yet.
void PlaceBoundImages(TJwwData& doc, const String& destinationFolder, const ConversionSettings& settings);

// After FileOut, on every path that passed the version check: remove what extraction left.
// TODO(images): nothing yet.
void ReleaseBoundImages(TJwwData& doc);

}  // namespace plandown
