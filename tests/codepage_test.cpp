// Code page 932 as the drawings hold it: the Windows table on every platform, one U+FFFD
// per undefined byte, one "?" per character without a form.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "convert/conversion_ui.h"
#include "convert/convert_file.h"
#include "convert/settings.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/file_text.h"
#include "support/temp_dir.h"
#include "util/codepage.h"
#include "util/paths.h"

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
  for (const Case& c : cases) EXPECT_EQ(AnsiBytesToText(c.bytes), c.text) << ::testing::PrintToString(c.bytes);
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

// One string as a drawing stores it, as it is read, and as every conversion writes it:
// the bytes themselves wherever Windows decodes and encodes them back alike.
struct StoredString {
  B bytes;
  String text;
  B written;
  std::size_t questionMarks;
};
const StoredString kStoredStrings[] = {
    {{0x80}, u"\u0080", {0x80}, 0},
    {{0xA0}, u"\uF8F0", {0xA0}, 0},
    {{0xFD}, u"\uF8F1", {0xFD}, 0},
    {{0xFE}, u"\uF8F2", {0xFE}, 0},
    {{0xFF}, u"\uF8F3", {0xFF}, 0},
    {{0x95, 0xBD, 0xB1, 0x81, 0x80, 0x81, 0xA0}, u"平ｱ÷□", {0x95, 0xBD, 0xB1, 0x81, 0x80, 0x81, 0xA0}, 0},
    {{0x87, 0x40, 0xFA, 0x40, 0xF0, 0x40}, u"\u2460\u2170\uE000", {0x87, 0x40, 0xFA, 0x40, 0xF0, 0x40}, 0},
    // A duplicate: the NEC-selected IBM row decodes like the IBM row, whose form Windows writes.
    {{0xED, 0x40}, u"\u7E8A", {0xFA, 0x5C}, 0},
    // Undefined: "?" for the byte that starts no character, and the next byte stays itself.
    {{0x85, 0x40}, u"\uFFFD@", {'?', '@'}, 1},
    {{0x81, 0x20}, u"\uFFFD ", {'?', ' '}, 1},
    {{0x85, 0xA0}, u"\uFFFD\uF8F0", {'?', 0xA0}, 1},
};

TEST(CodePage932, StoredStringsDecodeAndEncodeBackAsOnWindows) {
  for (const StoredString& c : kStoredStrings) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(AnsiBytesToText(c.bytes), c.text);
    std::size_t replaced = 99;
    EXPECT_EQ(TextToAnsiBytes(c.text, &replaced), c.written);
    EXPECT_EQ(replaced, c.questionMarks);
  }
}

namespace fs = std::filesystem;

std::string Framed(char mark, const B& bytes) {
  return std::string{mark, '['} + std::string(bytes.begin(), bytes.end()) + std::string{']', mark};
}

// Replaces the first `from` in `file`; false when there is none.
bool ReplaceOnce(std::string& file, const std::string& from, const std::string& to) {
  const std::size_t at = file.find(from);
  if (at == std::string::npos) return false;
  file.replace(at, from.size(), to);
  return true;
}

TEST(CodePage932, ConversionsToEveryTargetKeepTheBytesWindowsKeeps) {
  for (const StoredString& c : kStoredStrings) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    // The writer stores placeholders of the same length; the file then gets the bytes.
    const B placeholder(c.bytes.size(), 'x');
    const String inner(c.bytes.size(), u'x');
    TJwwData d;
    d.Enthd.jwVer = 700;
    testing::InitTables(d);
    d.Enthd.strMemo = u"m[" + inner + u"]m";
    d.EntLay[1].aStrLayName = u"l[" + inner + u"]l";
    testing::ListBuilder(MainList(d)).Add(testing::Text(u"t[" + inner + u"]t"));
    testing::Finish(d);
    const B written = testing::WriteToBytes(d, 700);
    std::string file(written.begin(), written.end());
    for (char mark : {'m', 'l', 't'}) ASSERT_TRUE(ReplaceOnce(file, Framed(mark, placeholder), Framed(mark, c.bytes)));
    testing::TempDir tmp;
    const fs::path src = tmp.path() / "src.jww";
    testing::WriteBytes(src, file);

    TJwwData read;
    ASSERT_TRUE(read.FileIn(FromFsPath(src)));
    EXPECT_EQ(read.Enthd.strMemo, u"m[" + c.text + u"]m");
    EXPECT_EQ(read.EntLay[1].aStrLayName, u"l[" + c.text + u"]l");
    EXPECT_EQ(read.EntMoji[0].str, u"t[" + c.text + u"]t");

    for (int index = 0; index < 4; ++index) {
      SCOPED_TRACE(index);
      ConversionSettings settings;
      settings.OutVersionIndex = index;
      SilentConversionUi ui;
      const fs::path once = tmp.path() / ("once" + std::to_string(index) + ".jww");
      const FileConversion r = ConvertFile({FromFsPath(src), FromFsPath(once)}, settings, ui);
      ASSERT_EQ(r.outcome, Outcome::kConverted) << ToUtf8(r.note);
      EXPECT_EQ(r.report.charsReplaced, 3 * c.questionMarks);
      const std::string out = testing::ReadBytes(once);
      for (char mark : {'m', 'l', 't'}) EXPECT_NE(out.find(Framed(mark, c.written)), std::string::npos) << mark;
      if (r.targetVersion < 351) continue;  // a 3.00 drawing is not converted again
      const fs::path twice = tmp.path() / ("twice" + std::to_string(index) + ".jww");
      ASSERT_EQ(ConvertFile({FromFsPath(once), FromFsPath(twice)}, settings, ui).outcome, Outcome::kConverted);
      EXPECT_EQ(testing::ReadBytes(twice), out);
    }
  }
}

}  // namespace
}  // namespace plandown
