#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "archive/archive_read.h"
#include "archive/archive_write.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plandown {
namespace {

using B = std::vector<std::uint8_t>;

String ReadStr(const B& bytes, bool clean = false) {
  InStream in(bytes);
  return clean ? ReadCleanString(in) : ReadString(in);
}

TEST(ArchiveString, ReadForms) {
  struct Case {
    B bytes;
    String text;
  } cases[] = {
      {{0x00}, u""},
      {{0x03, 'A', 0x00, 'B'}, u"A"},                                  // cut at NUL
      {{0xFF, 0xFE, 0xFF, 0x02, 0x41, 0x00, 0x42, 0x00}, u"AB"},       // UTF-16 form
      {{0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 0x42, 0x30}, u"あ"},        // UTF-16, Word length
      {{0xFF, 0x02, 0x00, 'h', 'i'}, u"hi"},                           // Word length
      {{0x04, 0x95, 0xBD, 0x96, 0xCA}, u"平面"},                        // code page 932
      {{0x02, 0x81, 0x60}, u"\uFF5E"},                                 // CP932, not JIS: full-width tilde
      {{0x05, 'a', 'b'}, u"ab"},                                       // file ends early
  };
  for (const Case& c : cases) EXPECT_EQ(ReadStr(c.bytes), c.text);
}

TEST(ArchiveString, CleanDropsControlsButPlainKeepsLineBreaks) {
  B bytes = {0x06, 'A', '\t', 'B', '\r', '\n', 'C'};
  EXPECT_EQ(ReadStr(bytes, true), u"ABC");
  EXPECT_EQ(ReadStr(bytes), u"A\tB\r\nC");
}

B Written(const String& s, bool unicode = false) {
  B out;
  OutStream o(&out);
  WriteString(o, s, unicode);
  return out;
}

TEST(ArchiveString, WriteLengthForms) {
  B b254 = Written(String(254, u'x'));
  ASSERT_EQ(b254.size(), 255u);
  EXPECT_EQ(b254[0], 0xFE);
  B b255 = Written(String(255, u'x'));
  ASSERT_EQ(b255.size(), 258u);
  EXPECT_EQ((B{b255[0], b255[1], b255[2]}), (B{0xFF, 0xFF, 0x00}));
  EXPECT_EQ(Written(u""), B{0x00});
  EXPECT_EQ(Written(u"AB", true), (B{0xFF, 0xFE, 0xFF, 0x02, 'A', 0, 'B', 0}));
}

TEST(ArchiveString, UnencodableCharactersBecomeQuestionMarks) {
  StringWriteStats st;
  B out;
  OutStream o(&out);
  WriteString(o, u"a\u00e9\U0001F600b", false, &st);  // é has no CP932 form, nor an emoji
  EXPECT_EQ(out, (B{0x04, 'a', '?', '?', 'b'}));
  EXPECT_EQ(st.replacedChars, 2u);
}

TEST(ArchiveString, LongStringsNeverTakeTheUnicodeMarkerLength) {
  // 65534 bytes would be written with the length 0xFFFE, the marker of the UTF-16 form.
  for (std::size_t n : {65533u, 65534u, 65535u, 70000u}) {
    StringWriteStats st;
    B out;
    OutStream o(&out);
    WriteString(o, String(n, u'x'), false, &st);
    InStream in(out);
    String back = ReadString(in);
    EXPECT_EQ(in.remaining(), 0u) << n;
    EXPECT_NE(back.size(), 65534u);
    EXPECT_EQ(back.size(), n == 65534u ? 65533u : std::min<std::size_t>(n, 65535u)) << n;
    EXPECT_EQ(st.cutStrings, n >= 65534u && n != 65535u ? 1u : 0u) << n;
  }
  // A double-byte character is never split by the cut.
  String kanji(40000, u'平');
  B out;
  OutStream o(&out);
  WriteString(o, kanji);
  InStream in(out);
  // 65534 bytes would be the marker: the cut lands one character earlier.
  String back = ReadString(in);
  EXPECT_EQ(back.size(), 32766u);
  EXPECT_TRUE(back == String(32766, u'平'));
}

TEST(ArchiveTags, ClassReferenceForms) {
  {
    B b = {0x03, 0x80};
    InStream in(b);
    ObjectTag t = ReadObjectTag(in);
    EXPECT_FALSE(t.isNewClass);
    EXPECT_EQ(t.index, 3);
  }
  {
    B b = {0xFF, 0x7F, 0x34, 0x12, 0x00, 0x80};
    InStream in(b);
    EXPECT_EQ(ReadObjectTag(in).index, 0x1234);
  }
  {
    B b = {0x05, 0x00};  // below 0x8000: names no class
    InStream in(b);
    EXPECT_LT(ReadObjectTag(in).index, 0);
  }
  {
    B b = {0xFF, 0xFF, 0x58, 0x02, 0x08, 0x00, 'C', 'D', 'a', 't', 'a', 'S', 'e', 'n'};
    InStream in(b);
    ObjectTag t = ReadObjectTag(in);
    EXPECT_TRUE(t.isNewClass);
    EXPECT_EQ(t.className, "CDataSen");
  }
  B empty;
  InStream in(empty);
  EXPECT_THROW(ReadObjectTag(in), ArchiveError);
}

TEST(ArchiveTags, WriterFormsAtTheirLimits) {
  B out;
  OutStream o(&out);
  WriteClassRef(o, 32766);
  WriteClassRef(o, 32767);
  WriteCount(o, 65534);
  WriteCount(o, 65535);
  EXPECT_EQ(out, (B{0xFE, 0xFF, 0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
  InStream in(out);
  EXPECT_EQ(ReadObjectTag(in).index, 32766);
  EXPECT_EQ(ReadObjectTag(in).index, 32767);
  EXPECT_EQ(ReadCount(in, true), 65534u);
  EXPECT_EQ(ReadCount(in, true), 65535u);
}

// A file stream hands out the same bytes as a memory stream over the file, whichever mix
// of reads, skips and in-place looks takes them, across its buffer's refills and at the
// end of the file.
TEST(ArchiveStream, FileFormGivesWhatTheMemoryFormGives) {
  testing::TempDir dir;
  for (std::size_t size : {std::size_t{0}, std::size_t{100}, std::size_t{40000}, std::size_t{6} << 20}) {
    B bytes(size);
    std::mt19937 rng(static_cast<unsigned>(size));
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    const String path = testing::WriteFileBytes(dir, u"s.bin", bytes);
    InStream file(path), memory(bytes);
    ASSERT_TRUE(file.ok());
    ASSERT_EQ(file.size(), size);
    while (memory.remaining() > 0) {
      const std::size_t n = rng() % 3 == 0 ? rng() % 300000 : rng() % 200;
      switch (rng() % 3) {
        case 0: {
          B a(n), b(n);
          ASSERT_EQ(file.Read(a.data(), n), memory.Read(b.data(), n));
          ASSERT_EQ(a, b);
          break;
        }
        case 1:
          ASSERT_EQ(file.Skip(n), memory.Skip(n));
          break;
        case 2: {
          const std::uint8_t* f = file.Contiguous(n);
          const std::uint8_t* m = memory.Contiguous(n);
          ASSERT_EQ(m != nullptr, n <= memory.remaining());
          if (!f) break;  // more than a file stream holds at once
          ASSERT_TRUE(m);
          ASSERT_TRUE(std::equal(f, f + n, m));
          file.Advance(n);
          memory.Advance(n);
          break;
        }
      }
      ASSERT_EQ(file.position(), memory.position());
    }
    EXPECT_EQ(file.remaining(), 0u);
    EXPECT_EQ(file.Contiguous(1), nullptr);
  }
}

}  // namespace
}  // namespace plandown
