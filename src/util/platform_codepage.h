// The platform's code page 932 converter behind util/codepage (platform_codepage.cpp):
// the Windows API on Windows, iconv elsewhere, both giving the answers of the Windows
// table.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "util/ustring.h"

namespace plandown::platform {

// Decodes code page 932 bytes (no NUL inside). Each byte that does not start a defined
// sequence becomes one U+FFFD, and decoding goes on with the next byte.
String DecodeCp932(std::span<const std::uint8_t> bytes);

// Encodes to code page 932. Every character the Windows table lacks becomes one "?" (a
// surrogate pair is one character, so is a lone surrogate); `replaced` counts them.
std::vector<std::uint8_t> EncodeCp932(std::u16string_view text, std::size_t& replaced);

}  // namespace plandown::platform
