// Code page 932 (the Windows variant of Shift-JIS) and UTF-16 byte forms.
// Strings inside JWW, JWS, JWC and JWK files are code page 932 whatever the platform.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "util/ustring.h"

namespace plandown {

using Bytes = std::vector<std::uint8_t>;

// Decodes code page 932 bytes, cut before the first NUL. A byte sequence the code page
// does not define becomes U+FFFD.
String AnsiBytesToText(std::span<const std::uint8_t> bytes);

// Encodes to code page 932, no terminator. Every character the code page lacks becomes
// "?" (one byte per character; a surrogate pair is one character). `replaced`, when
// given, receives the number of such characters.
Bytes TextToAnsiBytes(std::u16string_view text, std::size_t* replaced = nullptr);

// Byte count of TextToAnsiBytes up to (not including) the first zero byte.
int AnsiByteLength(std::u16string_view text);

// UTF-16LE, two bytes a unit, no terminator.
Bytes TextToUtf16Bytes(std::u16string_view text);
// Units taken two bytes at a time (an odd last byte is ignored), cut before the first U+0000.
String Utf16BytesToText(std::span<const std::uint8_t> bytes);

}  // namespace plandown
