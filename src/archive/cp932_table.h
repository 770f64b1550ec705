// The code page 932 table of the archive layer: the single bytes above ASCII, the
// two-byte codes and the characters whose encoded form is not the lowest code that
// decodes to them. Generated from the
// platform's converter (tools/make_cp932_table) and checked against it in the tests.
#pragma once
#include <cstddef>
#include <cstdint>

namespace plandown::cp932 {

// Lead bytes 0x81..0x9F and 0xE0..0xFC, trail bytes 0x40..0xFC.
inline constexpr int kLeadBytes = 60;
inline constexpr int kFirstTrail = 0x40;
inline constexpr int kLastTrail = 0xFC;
inline constexpr int kTrailBytes = kLastTrail - kFirstTrail + 1;

// Row of a lead byte in kDoubleByte; -1 for any other byte.
constexpr int LeadRow(std::uint8_t b) {
  if (b >= 0x81 && b <= 0x9F) return b - 0x81;
  if (b >= 0xE0 && b <= 0xFC) return b - 0xE0 + 31;
  return -1;
}

// The character of the single byte b >= 0x80 at [b - 0x80]; 0 for a lead byte and for a
// byte the table leaves to the converter.
extern const char16_t kSingleByte[0x80];

// The character of code (lead, trail) at [LeadRow(lead) * kTrailBytes + trail - kFirstTrail];
// 0 where the table leaves the code to the converter.
extern const char16_t kDoubleByte[kLeadBytes * kTrailBytes];

struct EncodeOverride {
  char16_t ch;
  std::uint16_t code;  // lead << 8 | trail; 0 = left to the converter
};
extern const EncodeOverride kEncodeOverrides[];
extern const std::size_t kEncodeOverrideCount;

}  // namespace plandown::cp932
