#include "archive/cp932_codec.h"

#include <memory>

#include "archive/cp932_table.h"

namespace plandown {

namespace {

// Character -> code (a byte below 0x100, else lead << 8 | trail); 0 = left to the converter.
const std::uint16_t* EncodeTable() {
  static const std::unique_ptr<std::uint16_t[]> table = [] {
    auto t = std::make_unique<std::uint16_t[]>(0x10000);
    for (int b = 1; b < 0x80; ++b) t[b] = static_cast<std::uint16_t>(b);
    for (int b = 0x80; b < 0x100; ++b)
      if (const char16_t c = cp932::kSingleByte[b - 0x80]; c != 0 && t[c] == 0) t[c] = static_cast<std::uint16_t>(b);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      const int row = cp932::LeadRow(static_cast<std::uint8_t>(lead));
      if (row < 0) continue;
      for (int trail = cp932::kFirstTrail; trail <= cp932::kLastTrail; ++trail) {
        const char16_t c = cp932::kDoubleByte[row * cp932::kTrailBytes + trail - cp932::kFirstTrail];
        if (c != 0 && t[c] == 0) t[c] = static_cast<std::uint16_t>(lead << 8 | trail);
      }
    }
    for (std::size_t i = 0; i < cp932::kEncodeOverrideCount; ++i)
      t[cp932::kEncodeOverrides[i].ch] = cp932::kEncodeOverrides[i].code;
    return t;
  }();
  return table.get();
}

// Decodes into o (room for bytes.size() characters); the end of what was written, or
// nullptr when the table leaves the bytes to the converter.
char16_t* DecodeInto(std::span<const std::uint8_t> bytes, bool dropControls, char16_t* o) {
  const std::uint8_t* p = bytes.data();
  const std::uint8_t* const end = p + bytes.size();
  while (p < end) {
    const std::uint8_t b = *p;
    if (b < 0x80) {
      if (b == 0) break;
      if (b >= 0x20 || !dropControls) *o++ = b;
      ++p;
      continue;
    }
    if (cp932::LeadRow(b) >= 0) {
      if (end - p < 2) return nullptr;
      const std::uint8_t t = p[1];
      if (t < cp932::kFirstTrail || t > cp932::kLastTrail) return nullptr;
      const char16_t c = cp932::kDoubleByte[cp932::LeadRow(b) * cp932::kTrailBytes + (t - cp932::kFirstTrail)];
      if (c == 0) return nullptr;
      *o++ = c;
      p += 2;
      continue;
    }
    const char16_t s = cp932::kSingleByte[b - 0x80];
    if (s == 0) return nullptr;
    *o++ = s;
    ++p;
  }
  return o;
}

}  // namespace

bool TableDecodeCp932(std::span<const std::uint8_t> bytes, bool dropControls, String& out) {
  // Short strings (nearly all) go through the stack, so that the text gets exactly its
  // own size: one that fits in the string itself takes no allocation at all.
  constexpr std::size_t kShort = 256;
  if (bytes.size() <= kShort) {
    char16_t buf[kShort];
    const char16_t* end = DecodeInto(bytes, dropControls, buf);
    if (!end) return false;
    out.assign(buf, static_cast<std::size_t>(end - buf));
    return true;
  }
  out.resize(bytes.size());  // never more characters than bytes
  const char16_t* end = DecodeInto(bytes, dropControls, out.data());
  if (!end) return false;
  out.resize(static_cast<std::size_t>(end - out.data()));
  return true;
}

std::size_t TableEncodeCp932(std::u16string_view text, std::uint8_t* out) {
  const std::uint16_t* table = nullptr;
  std::size_t n = 0;
  for (const char16_t c : text) {
    if (c < 0x80 && c != 0) {
      out[n++] = static_cast<std::uint8_t>(c);
      continue;
    }
    if (!table) table = EncodeTable();
    const std::uint16_t code = table[c];
    if (code == 0) return kNotInTable;
    if (code < 0x100) {
      out[n++] = static_cast<std::uint8_t>(code);
    } else {
      out[n++] = static_cast<std::uint8_t>(code >> 8);
      out[n++] = static_cast<std::uint8_t>(code);
    }
  }
  return n;
}

}  // namespace plandown
