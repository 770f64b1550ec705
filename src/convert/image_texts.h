// The rewriting of bound-image texts before a document is written.
#pragma once
#include "convert/settings.h"
#include "jww/entity_doc.h"

namespace plandown {

// Passes the string of every text entity of the main list, then of every block
// definition's members, through RewriteImageText. Drawings and shapes alike.
void RewriteImageTexts(TJwEntityDoc& doc, const ConversionSettings& settings);

}  // namespace plandown
