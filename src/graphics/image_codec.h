// Image files decoded and encoded with wxImage's codecs. Works without a display; calls
// from several threads are serialised.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "util/graphics_module.h"

namespace plandown::graphics {

bool InitImageCodecs();

bool EncodeImage(const std::uint8_t* src, std::size_t size, ImageEncoding encoding, int quality,
                 std::vector<std::uint8_t>* out);

}  // namespace plandown::graphics
