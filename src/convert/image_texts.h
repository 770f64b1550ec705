// The rewriting of bound-image texts before a document is written.
#pragma once
#include <string_view>

#include "convert/settings.h"
#include "jww/entity_doc.h"
#include "util/ustring.h"

namespace plandown {

// TODO(images): forward to RewriteImageText(text, settings) of images/image_text.h once
// it lands; until then every text passes unchanged. The only place to change.
String ImageTextForOutput(std::u16string_view text, const ConversionSettings& settings);

// Passes the string of every text entity of the main list, then of every block
// definition's members, through ImageTextForOutput. Drawings and shapes alike.
void RewriteImageTexts(TJwEntityDoc& doc, const ConversionSettings& settings);

}  // namespace plandown
