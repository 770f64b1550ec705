// Converting one JWW drawing to an older generation.
#pragma once
#include "convert/conversion_request.h"
#include "convert/conversion_result.h"
#include "convert/conversion_ui.h"
#include "convert/settings.h"

namespace plandown {

// Reads request.source completely, refuses what cannot or may not be converted (not a
// drawing, unreadable header, generation 3.50 or older, destination that is the source),
// rewrites the image texts, backs up an existing destination and writes the drawing as
// the generation of settings.OutVersionIndex. The source is only ever read. Uses its own
// document, so conversions may run on several threads at once.
FileConversion ConvertJww(const ConversionRequest& request, const ConversionSettings& settings, ConversionUi& ui);

}  // namespace plandown
