#include "archive/archive_write.h"

#include <cstring>

#include "archive/archive_read.h"
#include "archive/cp932_codec.h"
#include "util/codepage.h"

namespace plandown {

void WriteCount(OutStream& out, std::uint32_t n) {
  if (n < kCountEscape) {
    out.WriteU16(static_cast<std::uint16_t>(n));
  } else {
    out.WriteU16(kCountEscape);
    out.WriteU32(n);
  }
}

std::size_t EncodeClassRef(std::uint8_t* dst, std::uint32_t index) {
  auto put = [&dst](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) *dst++ = static_cast<std::uint8_t>(v >> (8 * i));
  };
  if (index < kShortClassRefLimit) {
    put(kTagClassRefBase + index, 2);
    return 2;
  }
  put(kTagLongClassRef, 2);
  put(kTagLongFlag + index, 4);
  return 6;
}

void WriteClassRef(OutStream& out, std::uint32_t index) {
  std::uint8_t b[kMaxClassRefBytes];
  out.Write(b, EncodeClassRef(b, index));
}

void WriteNewClass(OutStream& out, int ver, std::string_view className) {
  out.WriteU16(kTagNewClass);
  out.WriteU16(static_cast<std::uint16_t>(ver & 0xFFFF));
  out.WriteU16(static_cast<std::uint16_t>(className.size()));
  out.Write(className.data(), className.size());
}

namespace {

// Texts up to this length are encoded on the stack; their code page form cannot reach the
// length that needs cutting.
constexpr std::size_t kTableStringUnits = 1024;

bool IsSjisLead(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Largest character boundary within `limit` bytes that is not 0xFFFE.
std::size_t CodePageCut(const Bytes& b, std::size_t n) {
  std::size_t pos = 0, last = 0;
  while (pos < n) {
    std::size_t step = (IsSjisLead(b[pos]) && pos + 1 < n) ? 2 : 1;
    if (pos + step > kMaxStringUnits) break;
    pos += step;
    if (pos != kStrUnicodeMark) last = pos;
  }
  return last;
}

void WriteLength(OutStream& out, std::size_t n) {
  if (n < kStrLongLength) {
    out.WriteU8(static_cast<std::uint8_t>(n));
  } else {
    out.WriteU8(kStrLongLength);
    out.WriteU16(static_cast<std::uint16_t>(n));
  }
}

}  // namespace

void WriteString(OutStream& out, std::u16string_view text, bool unicode, StringWriteStats* stats) {
  if (unicode) {
    std::size_t c = text.size();
    if (c > kMaxStringUnits) {
      c = kMaxStringUnits;
      if (text[c - 1] >= 0xD800 && text[c - 1] <= 0xDBFF) --c;  // keep pairs whole
      if (stats) ++stats->cutStrings;
    }
    out.WriteU8(kStrLongLength);
    out.WriteU16(kStrUnicodeMark);
    WriteLength(out, c);
    Bytes b = TextToUtf16Bytes(text.substr(0, c));
    out.Write(b.data(), b.size());
    return;
  }
  // Encoded through the table straight into the stream where it covers the whole text;
  // everything else goes to the converter.
  if (text.size() <= kTableStringUnits) {
    std::uint8_t encoded[2 * kTableStringUnits];
    const std::size_t n = TableEncodeCp932(text, encoded);
    if (n != kNotInTable) {
      WriteLength(out, n);
      out.Write(encoded, n);
      return;
    }
  }
  std::size_t replaced = 0;
  Bytes b = TextToAnsiBytes(text, &replaced);
  if (stats) stats->replacedChars += replaced;
  std::size_t n = b.size();
  if (const void* z = n ? std::memchr(b.data(), 0, n) : nullptr) n = static_cast<const std::uint8_t*>(z) - b.data();
  if (n >= kStrUnicodeMark) {
    std::size_t cut = CodePageCut(b, n);
    if (cut != n && stats) ++stats->cutStrings;
    n = cut;
  }
  WriteLength(out, n);
  out.Write(b.data(), n);
}

}  // namespace plandown
