// Converting one JWS shape to an older generation.
#pragma once
#include "convert/conversion_request.h"
#include "convert/conversion_result.h"
#include "convert/conversion_ui.h"
#include "convert/settings.h"

namespace plandown {

// As ConvertJww, for shapes: a shape whose entity list is empty is not converted, no
// image is extracted, and a 3.00 target is written as 3.51.
FileConversion ConvertJws(const ConversionRequest& request, const ConversionSettings& settings, ConversionUi& ui);

}  // namespace plandown
