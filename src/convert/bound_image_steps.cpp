#include "convert/bound_image_steps.h"

namespace plandown {

void PrepareBoundImageReading(TJwwData& doc, const ConversionSettings&) {
  doc.BindImageExp = false;
  doc.BindImageExr = true;
}

void PlaceBoundImages(TJwwData&, const String&, const ConversionSettings&) {}

void ReleaseBoundImages(TJwwData&) {}

}  // namespace plandown
