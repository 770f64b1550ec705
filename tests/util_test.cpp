// Text, number, hex and path-text helpers.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "util/paths.h"
#include "util/search.h"
#include "util/text.h"

namespace plandown {
namespace {

std::string Show(std::u16string_view s) { return ToUtf8(s); }

TEST(CaseMapping, MapsEachScriptBothWays) {
  struct Case {
    std::u16string lower, upper;
  };
  const std::vector<Case> cases = {
      {u"abc xyz 09_", u"ABC XYZ 09_"},
      {u"àéöøþ", u"ÀÉÖØÞ"},
      {u"ÿ", u"Ÿ"},
      {u"āčőžŋ", u"ĀČŐŽŊ"},
      {u"αβγωάέώϊ", u"ΑΒΓΩΆΈΏΪ"},
      {u"жёяѣ", u"ЖЁЯѢ"},
      {u"ａｂｚ", u"ＡＢＺ"},
      {u"ⅰⅻ", u"ⅠⅫ"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UpperText(c.lower), c.upper) << Show(c.lower);
    EXPECT_EQ(LowerText(c.upper), c.lower) << Show(c.upper);
  }
}

TEST(CaseMapping, LeavesUncasedTextAndOneWayLettersAlone) {
  // Japanese text, signs, the multiplication and division signs between the Latin-1
  // letters, sharp s (no one-unit capital) and a surrogate pair stay as they are.
  const std::u16string still = u"図面ｱア。×÷ß\U0001F600１";
  EXPECT_EQ(UpperText(still), still);
  EXPECT_EQ(LowerText(still), still);
  // Letters whose capital lower-cases to another letter.
  EXPECT_EQ(UpperText(u"ςſıµ"), u"ΣSIΜ");
  EXPECT_EQ(LowerText(u"İ"), u"i");
  EXPECT_EQ(UpperText(u""), u"");
}

TEST(CaseMapping, TableIsConsistentOverTheWholeUnitRange) {
  for (std::uint32_t u = 0; u <= 0xFFFF; ++u) {
    const char16_t c = static_cast<char16_t>(u);
    const char16_t up = UpperChar(c);
    const char16_t low = LowerChar(c);
    // Both mappings are idempotent.
    EXPECT_EQ(UpperChar(up), up) << std::hex << u;
    EXPECT_EQ(LowerChar(low), low) << std::hex << u;
    // Every capital that lower-cases comes back to itself, but the dotted capital I,
    // whose small letter is the plain i.
    if (c == 0x0130) continue;
    EXPECT_EQ(UpperChar(LowerChar(up)), up) << std::hex << u;
    if (low != c) {
      EXPECT_EQ(UpperChar(low), c) << std::hex << u;
    }
  }
}

TEST(TextSlices, IndexesAndLengthsAtTheEdges) {
  EXPECT_EQ(PosIndex(u"b", u"abcb"), 1);
  EXPECT_EQ(PosIndex(u"x", u"abc"), -1);
  EXPECT_EQ(PosIndex(u"", u"abc"), -1);
  EXPECT_EQ(PosIndex(u"abcd", u"abc"), -1);

  EXPECT_EQ(CopyFrom(u"abcdef", 2), u"cdef");
  EXPECT_EQ(CopyFrom(u"abc", -5), u"abc");
  EXPECT_EQ(CopyFrom(u"abc", 3), u"");
  EXPECT_EQ(CopyFrom(u"abc", INT_MAX), u"");

  EXPECT_EQ(CopyMid(u"abcdef", 1, 3), u"bcd");
  EXPECT_EQ(CopyMid(u"abcdef", 4, 10), u"ef");
  EXPECT_EQ(CopyMid(u"abcdef", -2, 2), u"ab");
  EXPECT_EQ(CopyMid(u"abcdef", 2, 0), u"");
  EXPECT_EQ(CopyMid(u"abcdef", 2, -1), u"");
  EXPECT_EQ(CopyMid(u"abc", 3, 1), u"");
  EXPECT_EQ(CopyMid(u"abc", 1, INT_MAX), u"bc");

  EXPECT_EQ(CopyLast(u"abcdef", 2), u"ef");
  EXPECT_EQ(CopyLast(u"abc", 3), u"abc");
  EXPECT_EQ(CopyLast(u"abc", 10), u"abc");
  EXPECT_EQ(CopyLast(u"abc", 0), u"");
  EXPECT_EQ(CopyLast(u"abc", -1), u"");

  EXPECT_EQ(RepeatText(u" ", 3), u"   ");
  EXPECT_EQ(RepeatText(u"ab", 2), u"abab");
  EXPECT_EQ(RepeatText(u"ab", 0), u"");
  EXPECT_EQ(RepeatText(u"ab", -4), u"");
}

TEST(TextToInt, AcceptsOnlyAWholeNumberInRange) {
  struct Case {
    std::u16string text;
    std::int32_t value;
  };
  const std::vector<Case> cases = {
      {u" 12", 12},
      {u"12 ", 0},  // trailing space is not part of a number
      {u"$1F", 31},
      {u"0x1f", 31},
      {u"0X1F", 31},
      {u"x1F", 31},
      {u"X1f", 31},
      {u"-7", -7},
      {u"+7", 7},
      {u"-$10", -16},
      {u"000000000012", 12},
      {u"2147483647", INT32_MAX},
      {u"2147483648", 0},
      {u"-2147483648", INT32_MIN},
      {u"-2147483649", 0},
      {u"$7FFFFFFF", INT32_MAX},
      {u"$80000000", 0},
      {u"99999999999999999999", 0},
      {u"", 0},
      {u"abc", 0},
      {u"$", 0},
      {u"0x", 0},
      {u"-", 0},
      {u"- 5", 0},
      {u"1.5", 0},
      {u"$1G", 0},
      {u"12abc", 0},
      {u"\uFF11\uFF12", 0},  // full-width digits are not digits
      {std::u16string(u"31\0\0\0", 5), 31},
      {std::u16string(u"1\0x", 3), 1},  // the text ends at the NUL
      {std::u16string(u"\0" u"5", 2), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TextToInt(c.text), c.value) << Show(c.text);
}

TEST(IntToText, PlainDecimal) {
  EXPECT_EQ(IntToText(0), u"0");
  EXPECT_EQ(IntToText(1000), u"1000");
  EXPECT_EQ(IntToText(-42), u"-42");
  EXPECT_EQ(IntToText(INT32_MIN), u"-2147483648");
  EXPECT_EQ(IntToText(INT32_MAX), u"2147483647");
}

TEST(TextToFloat, ParsesDecimalFormsAndRejectsTheRest) {
  struct Case {
    std::u16string text;
    double value;
  };
  const std::vector<Case> cases = {
      {u"1.5", 1.5},
      {u"  -2.5e3", -2500.0},
      {u"+.5", 0.5},
      {u"5.", 5.0},
      {u"1E2", 100.0},
      {u"1e+2", 100.0},
      {u"25e-1", 2.5},
      {u"0.1", 0.1},
      {std::u16string(u"1.25\0\0\0", 7), 1.25},
      {u"", 0},
      {u".", 0},
      {u"-", 0},
      {u"1e", 0},
      {u"e5", 0},
      {u"1.5 ", 0},
      {u"1,5", 0},
      {u"0x10", 0},
      {u"nan", 0},
      {u"inf", 0},
      {u"1e999", 0},
      {u"--1", 0},
      {u"1..2", 0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(TextToFloat(c.text), c.value) << Show(c.text);
}

TEST(TextFilters, StripBlanksControlsAndMemoLines) {
  EXPECT_EQ(StripBlanks(u" a\u3000b\tc"), u"abc");
  EXPECT_EQ(StripBlanks(u"\r\n図\u3000面 "), u"図面");
  EXPECT_EQ(StripBlanks(u"   "), u"");
  EXPECT_EQ(StripControls(u" a\u3000b\tc\x1f\x7f"), u" a\u3000bc\x7f");

  EXPECT_EQ(MemoToLine(u"abc^mdef"), u"abcdef");
  EXPECT_EQ(MemoToLine(u"abc\\ndef"), u"abcdef");
  EXPECT_EQ(MemoToLine(u"a\r\nb\tc"), u"abc");
  EXPECT_EQ(MemoToLine(u"^m"), u" ");
  EXPECT_EQ(MemoToLine(u"^m\\n\r\n"), u" ");
  EXPECT_EQ(MemoToLine(u""), u"");
  EXPECT_EQ(MemoToLine(u"^M^"), u"^M^");   // only the lower-case marker, and a lone "^" stays
  EXPECT_EQ(MemoToLine(u"x\\"), u"x\\");
}

// A pair that closes up when the one inside it goes is removed too, so the one-line form
// of a one-line form is itself (converting a converted drawing changes nothing).
TEST(TextFilters, NestedLineMarksLeaveNothingBehind) {
  struct Case {
    std::u16string_view text, line, imageLine;
  };
  const Case cases[] = {
      {u"^^mm", u" ", u" "},
      {u"a^^^mmmb", u"ab", u"ab"},
      {u"\\\\nn", u" ", u"\\\\nn"},
      {u"^\x01m", u" ", u" "},
      {u"x^\r\nmy", u"xy", u"xy"},
      {u"^\\nm", u" ", u"^\\nm"},
      {u"\\^mn", u" ", u"\\n"},
      {u"^@BMC:\\\\new\\^^mm,1,1", u"^@BMC:\\ew\\,1,1", u"^@BMC:\\\\new\\,1,1"},  // image texts keep backslash-n
      // no nesting: as before
      {u"^M^", u"^M^", u"^M^"},
      {u"^^m", u"^", u"^"},
      {u"m^", u"m^", u"m^"},
      {u"x\\", u"x\\", u"x\\"},
      {u"一行目^m二行目\\n三", u"一行目二行目三", u"一行目二行目\\n三"},
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    const String line = MemoToLine(c.text);
    EXPECT_EQ(line, c.line) << Show(c.text);
    EXPECT_EQ(MemoToLine(line), line) << Show(c.text);
    const String imageLine = ImageTextToLine(c.text);
    EXPECT_EQ(imageLine, c.imageLine) << Show(c.text);
    EXPECT_EQ(ImageTextToLine(imageLine), imageLine) << Show(c.text);
  }
}

TEST(FillBytes, SetsLowByteAndStaysInsideTheArray) {
  Bytes b(4, 0x11);
  EXPECT_EQ(FillBytes(0x1FF, 2, b), 0x1FF);
  EXPECT_EQ(b, (Bytes{0xFF, 0xFF, 0x11, 0x11}));
  FillBytes(0, 10, b);  // clamped to the array
  EXPECT_EQ(b, Bytes(4, 0));
  FillBytes(7, -1, b);
  EXPECT_EQ(b, Bytes(4, 0));
  Bytes empty;
  FillBytes(7, 3, empty);
  EXPECT_TRUE(empty.empty());
}

TEST(HexText, EncodesUtf8AndDecodesBack) {
  EXPECT_EQ(EncodeHexText(u"C:\\"), u"433A5C");
  EXPECT_EQ(DecodeHexText(u"433a5c"), u"C:\\");
  EXPECT_EQ(EncodeHexText(u""), u"");
  EXPECT_EQ(DecodeHexText(u""), u"");
  EXPECT_EQ(EncodeHexText(u"図"), u"E59BB3");
  EXPECT_EQ(EncodeHexText(std::u16string(u"a\0b", 3)), u"61");  // stops at the zero byte

  const std::u16string path = u"D:\\図面\\ｱ 1\U0001F600";
  const std::u16string hex = EncodeHexText(path);
  EXPECT_EQ(hex.size() % 2, 0u);
  EXPECT_EQ(hex.find_first_not_of(u"0123456789ABCDEF"), std::u16string::npos);
  EXPECT_EQ(DecodeHexText(hex), path);
}

TEST(HexText, BadPairsAndOddLengths) {
  EXPECT_EQ(DecodeHexText(u"4G41"), u"");      // the bad first pair is byte 0
  EXPECT_EQ(DecodeHexText(u"41 G42"), u"A");   // ... and ends the text where it stands
  EXPECT_EQ(DecodeHexText(u"41004142"), u"A");
  EXPECT_EQ(DecodeHexText(u"41424"), u"AB");   // incomplete last pair ignored
  EXPECT_EQ(DecodeHexText(u"4"), u"");
  EXPECT_EQ(DecodeHexText(u"41FF42"), u"A\uFFFDB");  // malformed UTF-8
  EXPECT_EQ(DecodeHexText(u"+1"), u"");        // a sign is no hex digit
}

// Path texts: the separator that AddPathDelim appends is the platform's.
TEST(PathText, AddPathDelim) {
  const std::u16string d(1, PathDelim());
  EXPECT_EQ(AddPathDelim(u"C:"), u"C:" + d);
  EXPECT_EQ(AddPathDelim(u"C:\\"), u"C:\\");
  EXPECT_EQ(AddPathDelim(u"/tmp/"), u"/tmp/");
  EXPECT_EQ(AddPathDelim(u"/tmp"), u"/tmp" + d);
  EXPECT_EQ(AddPathDelim(u""), d);
}

TEST(PathText, ExtractFolderKeepsTheCallersSeparator) {
  struct Case {
    std::u16string path, folder;
  };
  const std::vector<Case> cases = {
      {u"D:\\out\\a.jww", u"D:\\out\\"},
      {u"D:\\a.jww", u"D:\\"},
      {u"\\\\server\\share\\a.jww", u"\\\\server\\share\\"},  // UNC
      {u"/home/u/a.jww", u"/home/u/"},
      {u"/a.jww", u"/"},
      {u"\\a.jww", u"\\"},
      {u"a/b\\c.jww", u"a/b\\"},
      {u"D:\\out\\", u"D:\\out\\"},
      {u"a\\\\b", u"a\\"},
      {u"a.jww", u""},  // no folder part
      {u"", u""},
      {u"   ", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtractFolder(c.path), c.folder) << Show(c.path);
  EXPECT_EQ(ExtractFolder(std::u16string(u"/a\0/b", 5)), u"");
  EXPECT_EQ(ExtractFolder(u"/" + std::u16string(5000, u'a') + u"/b"), u"");
}

TEST(PathText, ExtractNameLowerExtChangeExt) {
  EXPECT_EQ(ExtractName(u"D:\\out\\a.jww"), u"a.jww");
  EXPECT_EQ(ExtractName(u"/x/y/b.bmp"), u"b.bmp");
  EXPECT_EQ(ExtractName(u"C:c.bmp"), u"c.bmp");
  EXPECT_EQ(ExtractName(u"plain"), u"plain");
  EXPECT_EQ(ExtractName(u"dir\\"), u"");
  EXPECT_EQ(ExtractName(std::u16string(u"a\0b", 3)), u"");

  EXPECT_EQ(LowerExt(u"PLAN.JWW"), u".jww");
  EXPECT_EQ(LowerExt(u"a.b\\c"), u"");
  EXPECT_EQ(LowerExt(u"a.b/c"), u"");
  EXPECT_EQ(LowerExt(u"x.bmp.gz"), u".gz");
  EXPECT_EQ(LowerExt(u"PLAN.BK3"), u".bk3");
  EXPECT_EQ(LowerExt(u"noext"), u"");
  EXPECT_EQ(LowerExt(u"図面.ＪＷＷ"), u".ｊｗｗ");
  EXPECT_THROW(LowerExt(std::u16string(u"a\0.jww", 6)), std::invalid_argument);

  EXPECT_EQ(ChangeExt(u"D:\\out\\a.jww", u".BAK"), u"D:\\out\\a.BAK");
  EXPECT_EQ(ChangeExt(u"a_jpg.bmp.gz", u""), u"a_jpg.bmp");
  EXPECT_EQ(ChangeExt(u"dir.d\\name", u".dat"), u"dir.d\\name.dat");
  EXPECT_EQ(ChangeExt(u"dir.d/name", u".dat"), u"dir.d/name.dat");
  EXPECT_EQ(ChangeExt(u"C:.x", u""), u"C:");
  EXPECT_EQ(ChangeExt(u"noext", u".bmp"), u"noext.bmp");
}

TEST(PathText, OnlyNulIsForbiddenOnPosix) {
  EXPECT_TRUE(HasForbiddenPathChars(std::u16string(u"a\0b", 3)));
  EXPECT_FALSE(HasForbiddenPathChars(u"C:\\図面\\a b.jww"));
#ifdef _WIN32
  for (std::u16string bad : {u"a?b", u"a*b", u"a<b", u"a>b", u"a|b", u"a\"b", u"a\tb"})
    EXPECT_TRUE(HasForbiddenPathChars(bad)) << Show(bad);
#else
  EXPECT_FALSE(HasForbiddenPathChars(u"a?b*c<d>e|f\"g\th"));
#endif
}

TEST(MaskMatches, WildcardsWithoutRegardToCase) {
  struct Case {
    std::u16string name, mask;
    bool match;
  };
  const std::vector<Case> cases = {
      {u"a.jww", u"*.jww", true},
      {u"PLAN.JWW", u"*.jww", true},
      {u"a.jwwx", u"*.jww", false},
      {u"a.jws", u"*.jw?", true},
      {u"a.jw", u"*.jw?", true},  // a "?" at the end may match nothing
      {u"a.jwsx", u"*.jw?", false},
      {u"x.bk1", u"*.bk?", true},
      {u"x.bak", u"*.bk?", false},
      {u"noext", u"*.*", true},
      {u"a.b.c", u"*.*", true},
      {u"anything", u"*", true},
      {u"abc", u"a", false},
      {u"a", u"a.*", true},
      {u"a.jww", u"a*b*.jww", false},
      {u"aXbYb.jww", u"a*b*.jww", true},
      {u"図面.ｊｗｗ", u"*.ＪＷＷ", true},
      {u"ÄB.txt", u"äb.*", true},
  };
  for (const Case& c : cases) EXPECT_EQ(MaskMatches(c.name, c.mask), c.match) << Show(c.name) << " " << Show(c.mask);
}

}  // namespace
}  // namespace plandown
