// Code page 932 strings through the table of cp932_table.h, without a converter call per
// string. Each function answers only for strings the table covers entirely and says so;
// the caller gives every other string to the converter (util/codepage.h), so the results
// are always the converter's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "util/ustring.h"

namespace plandown {

// Decodes `bytes` up to the first NUL into `out`, leaving out every character below
// U+0020 when `dropControls`. False (and `out` unspecified) when the bytes hold a code the
// table leaves to the converter: an undefined or cut-off two-byte code.
bool TableDecodeCp932(std::span<const std::uint8_t> bytes, bool dropControls, String& out);

inline constexpr std::size_t kNotInTable = static_cast<std::size_t>(-1);

// Encodes `text` into `out` (room for 2 * text.size() bytes) and returns the byte count, or
// kNotInTable when a character is left to the converter (one without a two-way form, a
// surrogate, or U+0000).
std::size_t TableEncodeCp932(std::u16string_view text, std::uint8_t* out);

}  // namespace plandown
