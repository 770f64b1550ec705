// Code page 932 as the drawings hold it: the Windows table on every platform, one U+FFFD
// per undefined byte, one "?" per character without a form.
#include <gtest/gtest.h>

#include "util/codepage.h"

namespace plandown {
namespace {

using B = std::vector<std::uint8_t>;

TEST(CodePage932, Decodes) {
  struct Case {
    B bytes;
    String text;
  } cases[] = {
      {{'A', 0x95, 0xBD, 0x96, 0xCA}, u"A平面"},
      {{0x81, 0x60}, u"\uFF5E"},              // the Windows tilde, not U+301C
      {{0x81, 0x61, 0x81, 0x7C}, u"\u2225\uFF0D"},
      {{0x5C, 0x7E}, u"\\~"},                 // ASCII, not yen and overline
      {{0xB1}, u"\uFF71"},                    // half-width katakana
      {{0x87, 0x40}, u"\u2460"},              // NEC row 13
      {{0xFA, 0x40, 0xFB, 0xFC}, u"\u2170\u9AD9"},  // IBM extension rows
      {{0xF0, 0x40}, u"\uE000"},              // user-defined area
      // Single bytes Windows defines beyond the JIS table; glibc and wine lack them.
      {{0x80, 0xA0, 'a', 0xFD, 0xFE, 0xFF}, u"\u0080\uF8F0a\uF8F1\uF8F2\uF8F3"},
      {{0xA0, 0x40, 0xFD, 0x40}, u"\uF8F0@\uF8F1@"},  // never lead bytes
      {{0x81, 0x80, 0x81, 0xA0}, u"\u00F7\u25A1"},   // but 80 and A0 are trail bytes too
      // Undefined bytes: one U+FFFD each, and decoding goes on with the next byte.
      {{0x81, 0x20, 'b'}, u"\uFFFD b"},       // lead byte with a trail out of range
      {{0x81, 0xFD}, u"\uFFFD\uF8F1"},
      {{0x85, 0x40}, u"\uFFFD@"},             // unassigned row
      {{0x85, 0xA0}, u"\uFFFD\uF8F0"},
      {{'c', 0x95}, u"c\uFFFD"},              // cut after a lead byte
      {{0x95, 0xBD, 0x00, 0x96, 0xCA}, u"平"},  // cut at NUL
  };
  for (const Case& c : cases) EXPECT_EQ(AnsiBytesToText(c.bytes), c.text) << testing::PrintToString(c.bytes);
}

TEST(CodePage932, Encodes) {
  struct Case {
    String text;
    B bytes;
    std::size_t replaced;
  } cases[] = {
      {u"A平面", {'A', 0x95, 0xBD, 0x96, 0xCA}, 0},
      {u"\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2", {0x81, 0x60, 0x81, 0x61, 0x81, 0x7C, 0x81, 0x91, 0x81, 0x92, 0x81, 0xCA}, 0},
      {u"\u2170\u9AD9", {0xFA, 0x40, 0xFB, 0xFC}, 0},  // IBM rows, not the NEC selection
      {u"\u2015", {0x81, 0x5C}, 0},
      {u"\uE000", {0xF0, 0x40}, 0},
      // Windows has no form for these, though glibc maps them one way.
      {u"\u301C\u2016\u2212\u00A2\u00A3\u00AC\u00A5\u203E\u2014", B(9, '?'), 9},
      // Windows writes these as single bytes, though glibc cannot.
      {u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3", {0x80, 0xA0, 0xFD, 0xFE, 0xFF}, 0},
      // No look-alikes: é is not "e".
      {u"caf\u00E9", {'c', 'a', 'f', '?'}, 1},
      // A surrogate pair is one character, so is a lone surrogate.
      {u"a\U0001F600b" + String(1, char16_t{0xD800}) + u"c", {'a', '?', 'b', '?', 'c'}, 2},
      {u"平\u301C面", {0x95, 0xBD, '?', 0x96, 0xCA}, 1},
  };
  for (const Case& c : cases) {
    std::size_t replaced = 99;
    EXPECT_EQ(TextToAnsiBytes(c.text, &replaced), c.bytes) << ToUtf8(c.text);
    EXPECT_EQ(replaced, c.replaced) << ToUtf8(c.text);
  }
}

}  // namespace
}  // namespace plandown
