// The code page 932 table of the archive layer against the converter it was made from:
// whatever the table answers, the converter answers too.
#include <gtest/gtest.h>

#include <random>

#include "archive/cp932_codec.h"
#include "util/codepage.h"

namespace plandown {
namespace {

using B = std::vector<std::uint8_t>;

String ConverterDecode(const B& bytes, bool dropControls) {
  String s = AnsiBytesToText(bytes);
  if (dropControls) std::erase_if(s, [](char16_t c) { return c < 0x20; });
  return s;
}

TEST(Cp932Table, EveryCodeTheTableDecodesTheConverterDecodesAlike) {
  int covered = 0;
  for (int b = 1; b < 0x100; ++b) {
    const B one = {static_cast<std::uint8_t>(b)};
    String s;
    if (TableDecodeCp932(one, false, s)) {
      EXPECT_EQ(s, AnsiBytesToText(one)) << "byte " << b;
    }
  }
  for (int lead = 0x80; lead < 0x100; ++lead)
    for (int trail = 0; trail < 0x100; ++trail) {
      const B two = {static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)};
      String s;
      if (!TableDecodeCp932(two, false, s)) continue;
      ++covered;
      ASSERT_EQ(s, AnsiBytesToText(two)) << "code " << lead << " " << trail;
    }
  // The table is only worth having if it holds the two-byte codes in use.
  EXPECT_GT(covered, 9000);
}

TEST(Cp932Table, EveryCharacterTheTableEncodesTheConverterEncodesAlike) {
  int covered = 0;
  std::uint8_t out[2];
  for (int c = 1; c < 0x10000; ++c) {
    const char16_t ch = static_cast<char16_t>(c);
    const std::size_t n = TableEncodeCp932(std::u16string_view(&ch, 1), out);
    if (n == kNotInTable) continue;
    ++covered;
    std::size_t replaced = 99;
    ASSERT_EQ(B(out, out + n), TextToAnsiBytes(std::u16string_view(&ch, 1), &replaced)) << "U+" << std::hex << c;
    ASSERT_EQ(replaced, 0u);
  }
  EXPECT_GT(covered, 9000);
}

TEST(Cp932Table, StringsDecodeAsTheConverterDecodesThemOrAreLeftToIt) {
  struct Case {
    B bytes;
    bool inTable;
  } cases[] = {
      {{}, true},
      {{'A', '\t', 'B', '\r', '\n'}, true},
      {{0x83, 0x65, 0x83, 0x4C, 0x83, 0x58, 0x83, 0x67, '1', '2'}, true},  // テキスト12
      {{0xB1, 0xB2, 'x'}, true},                                            // half-width katakana
      {{'A', 0x00, 0x80}, true},                                            // cut at the NUL first
      {{'A', 0x95}, false},                                                 // cut-off lead byte
      {{0x95, 0x00, 'B'}, false},                                           // lead byte before the NUL
      {{0x81, 0x20}, false},                                                // no trail byte
      {{0x85, 0x40}, false},                                                // undefined code
      {{0x80, 'A', 0xA0, 0xFD, 0xFE, 0xFF}, true},                          // single bytes beyond the JIS table
      {{0x81, 0xA0, 0x81, 0x80}, true},                                     // 80 and A0 as trail bytes
      {{0x85, 0xA0}, false},                                                // undefined code
  };
  for (const Case& c : cases)
    for (bool drop : {false, true}) {
      String s;
      EXPECT_EQ(TableDecodeCp932(c.bytes, drop, s), c.inTable);
      if (c.inTable) {
        EXPECT_EQ(s, ConverterDecode(c.bytes, drop));
      }
    }

  // Random strings of plain, katakana, lead, trail and control bytes.
  std::mt19937 rng(932);
  const std::uint8_t pool[] = {0, 0x09, 0x0A, 'a', 'Z', 0x5C, 0x7E, 0x7F, 0x80, 0x81, 0x82, 0x88, 0x9F, 0xA0, 0xA1,
                               0xDF, 0xE0, 0xEA, 0xED, 0xF0, 0xFA, 0xFC, 0xFD, 0x40, 0x60, 0xFE};
  int inTable = 0;
  for (int i = 0; i < 20000; ++i) {
    B b(rng() % 12);
    for (auto& x : b) x = pool[rng() % std::size(pool)];
    const bool drop = rng() % 2;
    String s;
    if (!TableDecodeCp932(b, drop, s)) continue;
    ++inTable;
    ASSERT_EQ(s, ConverterDecode(b, drop));
  }
  EXPECT_GT(inTable, 1000);
}

TEST(Cp932Table, StringsEncodeAsTheConverterEncodesThemOrAreLeftToIt) {
  const std::u16string_view inTable[] = {u"", u"plain", u"テキスト123", u"ＭＳ ゴシック", u"ｱｲｳ", u"Ⅰ≒∵￢", u"ⅰ纊"};
  for (std::u16string_view s : inTable) {
    std::vector<std::uint8_t> out(2 * s.size());
    const std::size_t n = TableEncodeCp932(s, out.data());
    ASSERT_NE(n, kNotInTable) << ToUtf8(s);
    out.resize(n);
    EXPECT_EQ(out, TextToAnsiBytes(s)) << ToUtf8(s);
  }
  // Characters without a two-way form, surrogates and NUL go to the converter.
  for (std::u16string_view s : {std::u16string_view(u"é"), std::u16string_view(u"a\u301C"), std::u16string_view(u"\U0001F600"),
                                std::u16string_view(u"a\0b", 3), std::u16string_view(u"\u00A5")}) {
    std::uint8_t out[8];
    EXPECT_EQ(TableEncodeCp932(s, out), kNotInTable) << ToUtf8(s);
  }
}

}  // namespace
}  // namespace plandown
