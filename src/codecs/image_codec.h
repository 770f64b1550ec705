// The image entries of the codec module, on wxImage's codecs. Work without a display.
#pragma once
#include <cstddef>
#include <cstdint>

#include "images/codec_module.h"

namespace plandown::codecs {

// PlandownCodecTable::init and ::encode_image.
int InitImageCodecs();
int EncodeImage(const std::uint8_t* src, std::size_t size, int format, int quality, PlandownBytes* out);

}  // namespace plandown::codecs
