// The conversion settings that the settings file stores, the settings dialog edits and
// the conversion reads.
#pragma once
#include <cstdint>

namespace plandown {

struct ConversionSettings {
  std::int32_t OutVersionIndex = 0;     // 0 = 6.00, 1 = 4.20, 2 = 3.51, other = 3.00
  std::int32_t ConvertBoundImages = 0;  // non-zero: convert extracted bound images
  std::int32_t DeleteSourceImage = 0;   // non-zero: delete the source image after a good conversion
  std::int32_t ImageFormatIndex = 0;    // 0 same, 1 BMP, 2 GIF, 3 PNG, 4 JPEG, 5 TIFF
  std::int32_t JpegQuality = 75;        // 0..100
  friend bool operator==(const ConversionSettings&, const ConversionSettings&) = default;
};

// The target generation of OutVersionIndex (600, 420, 351 or 300).
inline int TargetVersion(std::int32_t outVersionIndex) {
  switch (outVersionIndex) {
    case 0: return 600;
    case 1: return 420;
    case 2: return 351;
    default: return 300;
  }
}

}  // namespace plandown
