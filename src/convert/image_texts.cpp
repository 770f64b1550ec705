#include "convert/image_texts.h"

#include <algorithm>

#include "images/image_text.h"

namespace plandown {

void RewriteImageTexts(TJwEntityDoc& doc, const ConversionSettings& settings) {
  auto rewrite = [&](std::vector<TEntJwwMoji>& texts, std::int32_t count) {
    const std::size_t n = std::min(texts.size(), static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < n; ++i)
      if (IsBoundImageText(texts[i].str)) texts[i].str = RewriteImageText(texts[i].str, settings);
  };
  rewrite(doc.EntMoji, doc.EntMojiN);
  for (TEntJwwBlockDef& def : doc.EntBlockDef) rewrite(def.mMoji, def.mMojiN);
}

}  // namespace plandown
