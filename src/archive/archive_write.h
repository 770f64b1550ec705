// Writing the archive building blocks in exactly the forms the readers accept.
#pragma once
#include <cstdint>
#include <string_view>

#include "archive/outstream.h"
#include "util/ustring.h"

namespace plandown {

// Count form: a Word below 0xFFFF, else 0xFFFF and a Cardinal.
void WriteCount(OutStream& out, std::uint32_t n);
// Short class reference below index 32767, else 0x7FFF and 0x80000000 + index.
void WriteClassRef(OutStream& out, std::uint32_t index);
// The same into dst (room for kMaxClassRefBytes); returns the bytes written.
inline constexpr std::size_t kMaxClassRefBytes = 6;
std::size_t EncodeClassRef(std::uint8_t* dst, std::uint32_t index);
// New-class tag: 0xFFFF, schema (low 16 bits of the version), name length, name.
void WriteNewClass(OutStream& out, int ver, std::string_view className);

// Longest code-page or UTF-16 string the 16-bit length can hold. 0xFFFE is the
// marker of the UTF-16 form, so a code-page string of that length would not read back.
inline constexpr std::size_t kMaxStringUnits = 0xFFFF;

struct StringWriteStats {
  std::size_t replacedChars = 0;  // characters written as "?"
  std::size_t cutStrings = 0;     // strings shortened to fit the length field
};

// Archive string, code page 932 form (or the UTF-16 form when `unicode`).
void WriteString(OutStream& out, std::u16string_view text, bool unicode = false,
                 StringWriteStats* stats = nullptr);

}  // namespace plandown
