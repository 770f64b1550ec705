#include "cli/text_output.h"

#include "util/ustring.h"

namespace plandown::cli {

std::string IndentedLines(std::u16string_view text, std::string_view indent) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t i = 0;; ++i) {
    const bool end = i == text.size();
    if (!end && text[i] != u'\r' && text[i] != u'\n') continue;
    if (start > 0) {
      out.push_back('\n');
      out += indent;
    }
    out += ToUtf8(text.substr(start, i - start));
    if (end) break;
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  return out;
}

std::size_t DisplayWidth(std::u16string_view text) {
  static constexpr std::pair<char16_t, char16_t> kWide[] = {
      {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xA000, 0xA4CF},
      {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}};
  std::size_t width = 0;
  for (const char16_t c : text) {
    if (c >= 0xDC00 && c <= 0xDFFF) continue;  // counted with its leading half
    // Planes 2 and 3 hold the rarer ideographs.
    bool wide = c >= 0xD840 && c <= 0xD8BF;
    for (const auto& [low, high] : kWide) wide = wide || (c >= low && c <= high);
    width += wide ? 2 : 1;
  }
  return width;
}

}  // namespace plandown::cli
