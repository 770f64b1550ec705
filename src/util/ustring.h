// Text in memory is UTF-16 (one unit per char16_t), as in the drawings' own model.
#pragma once
#include <string>
#include <string_view>

namespace plandown {

using String = std::u16string;

// UTF-8 <-> UTF-16. Malformed UTF-8 becomes U+FFFD; a lone surrogate becomes U+FFFD in UTF-8.
String FromUtf8(std::string_view s);
std::string ToUtf8(std::u16string_view s);

}  // namespace plandown
