// Recognition and header reading of the DOS-era JWC and JWK files, on files built here.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "dos/dos_header.h"
#include "dos/jwc_data.h"
#include "dos/jwk_data.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plandown {
namespace {
using testing::PathIn;
using testing::TempDir;
using testing::WriteFileBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kJwc = "jw_cad(c)data.......";
constexpr std::string_view kJwk = "jw_cad(c)sym........";

void Put(Bytes& b, std::size_t at, std::string_view s, std::size_t max) {
  for (std::size_t i = 0; i < s.size() && i < max; ++i) b[at + i] = static_cast<std::uint8_t>(s[i]);
}

// Block 1: identification and the two comment fields, NUL padded.
Bytes IdentBlock(std::string_view id, std::string_view c1 = "", std::string_view c2 = "") {
  Bytes b(200, 0);
  Put(b, 0, id, 40);
  Put(b, 40, c1, 32);
  Put(b, 72, c2, 32);
  return b;
}

// A text block: the line, then NUL bytes to 200.
Bytes TextBlock(std::string_view line) {
  Bytes b(200, 0);
  Put(b, 0, line, 200);
  return b;
}

std::string Join(const std::vector<std::string>& fields) {
  std::string s;
  for (std::size_t i = 0; i < fields.size(); ++i) s += (i ? "," : "") + fields[i];
  return s;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Cut(Bytes b, std::size_t n) {
  b.resize(std::min(n, b.size()));
  return b;
}

// A complete 800-byte drawing header whose fields are told apart by their values.
std::string Block2Line() {
  return Join({"10", "11", "12", "13", "14", "5", "6", "7", "8", "1.5", "3", "2", "4", "1", "100.25", "-50.5",
               "2.5", "3.5", "123456", "1", "2", "3", "4", "5", "6", "0.5", "0.25", "-1", "-2", "1", "594",
               "31"});
}
std::string Block3Line() {
  std::vector<std::string> f = {"1.5", "2.5", "3.5", "45", "1", "0", "1", "2", "3", "4"};
  for (int k = 10; k < 28; ++k) f.push_back(std::to_string(k) + ".5");
  f[16] = "16";
  f[17] = "17";
  f[18] = "18";
  return Join(f);
}
std::string Block4Line() {
  std::vector<std::string> f = {"1A2B:0010", "ffff:000f"};
  for (int k = 2; k < 20; ++k) f.push_back(std::to_string(k) + ".5");
  f.push_back("1");
  f.push_back("2");
  return Join(f);
}
Bytes FullJwc() {
  return Concat({IdentBlock(std::string(kJwc) + "01f", "comment one", "comment two"), TextBlock(Block2Line()),
                 TextBlock(Block3Line()), TextBlock(Block4Line())});
}
Bytes FullJwk(std::string_view scale = "2.5") {
  return Concat({IdentBlock(kJwk, "shape one", "shape two"),
                 TextBlock("7,8,9,10,1.25,-2.5,0.5,3," + std::string(scale))});
}

TEST(DosFileCheck, TestsOnlyTheFirstTwentyBytes) {
  TempDir dir;
  struct Case {
    const char* what;
    Bytes bytes;
    bool jwc, jwk;
  };
  Bytes nulInside = IdentBlock(kJwc);
  nulInside[15] = 0;
  const std::vector<Case> cases = {
      {"jwc block 1 only", IdentBlock(kJwc), true, false},
      {"jwk block 1 only", IdentBlock(kJwk), false, true},
      {"jwc id and nothing else", Bytes(kJwc.begin(), kJwc.end()), true, false},
      {"id followed by anything", Concat({Bytes(kJwc.begin(), kJwc.end()), Bytes(50, 0xFF)}), true, false},
      {"upper case", IdentBlock("JW_CAD(c)data......."), false, false},
      {"NUL inside", nulInside, false, false},
      {"19 bytes", Bytes(kJwc.begin(), kJwc.end() - 1), false, false},
      {"empty", Bytes(), false, false},
      {"drawing id in shape length", IdentBlock("jw_cad(c)data......"), false, false},
  };
  TJwcData jwc;
  TJwkData jwk;
  for (const Case& c : cases) {
    const String path = WriteFileBytes(dir, u"f.jwc", c.bytes);
    EXPECT_EQ(jwc.FileCheck(path), c.jwc) << c.what;
    EXPECT_EQ(jwk.FileCheck(path), c.jwk) << c.what;
  }
  EXPECT_FALSE(jwc.FileCheck(PathIn(dir, u"missing.jwc")));
  EXPECT_FALSE(jwc.FileCheck(dir.folder()));
  EXPECT_FALSE(jwk.FileHeaderIn(dir.folder()));
}

TEST(JwcHeader, ReadsEveryBlockIntoItsFields) {
  TempDir dir;
  TJwcData doc;
  ASSERT_TRUE(doc.FileHeaderIn(WriteFileBytes(dir, u"a.jwc", FullJwc())));
  const TEntJwcHeader& h = doc.Enthd;
  EXPECT_EQ(h.jwID, u"jw_cad(c)data.......01f");
  EXPECT_TRUE(h.scaleF);
  EXPECT_EQ(h.comment1, u"comment one");
  EXPECT_EQ(h.comment2, u"comment two");
  // Block 2.
  EXPECT_EQ(h.lineCount, 10);
  EXPECT_EQ(h.arcCount, 11);
  EXPECT_EQ(h.mojiCount, 12);
  EXPECT_EQ(h.tenCount, 13);
  EXPECT_EQ(h.vtenCount, 14);
  EXPECT_EQ(h.curFno, 5);
  EXPECT_EQ(h.curMpcol, 8);
  EXPECT_FLOAT_EQ(h.wLayScale, 1.5f);
  EXPECT_EQ(h.wLayNo, 3);
  EXPECT_EQ(h.psize, 2);
  EXPECT_EQ(h.lcol, 4);
  EXPECT_EQ(h.ltyp, 1);
  EXPECT_FLOAT_EQ(h.plotOrgX, 100.25f);
  EXPECT_FLOAT_EQ(h.plotOrgY, -50.5f);
  EXPECT_FLOAT_EQ(h.lpitch2, 3.5f);
  EXPECT_EQ(h.drawtime, 123456);
  EXPECT_EQ(h.penWidth, (std::array<std::int32_t, 6>{1, 2, 3, 4, 5, 6}));
  EXPECT_FLOAT_EQ(h.gridX, 0.5f);
  EXPECT_FLOAT_EQ(h.gridOrgY, -2.0f);
  EXPECT_FLOAT_EQ(h.gridScale, 1.0f);
  EXPECT_EQ(h.drawWidth, 594);
  EXPECT_EQ(h.flgPthin, 31);  // the last field, ended by the NUL padding
  // Block 3.
  EXPECT_FLOAT_EQ(h.mvDist, 1.5f);
  EXPECT_FLOAT_EQ(h.arAng, 45.0f);
  EXPECT_EQ(h.locMR, 1);
  EXPECT_EQ(h.mvKeta, 4);
  EXPECT_FLOAT_EQ(h.sOfsetXL, 10.5f);
  EXPECT_FLOAT_EQ(h.sOfsetYT, 15.5f);
  EXPECT_EQ(h.s1len, 16);
  EXPECT_EQ(h.sOrgYm, 18);
  EXPECT_FLOAT_EQ(h.dlinDistB, 19.5f);
  EXPECT_EQ(h.dlinDist, (std::array<float, 5>{20.5f, 21.5f, 22.5f, 23.5f, 24.5f}));
  EXPECT_FLOAT_EQ(h.svScrnScl, 27.5f);
  // Block 4.
  EXPECT_EQ(h.sBufAdr1, 0x1A2B * 16 + 0x10);
  EXPECT_EQ(h.sBufAdr2, 0xFFFF * 16 + 0xF);
  EXPECT_FLOAT_EQ(h.subZm0X, 2.5f);
  EXPECT_FLOAT_EQ(h.subZm0S, 4.5f);
  EXPECT_FLOAT_EQ(h.subZm2Y, 9.5f);
  EXPECT_FLOAT_EQ(h.subZm4S, 16.5f);
  EXPECT_FLOAT_EQ(h.hiIdo, 17.5f);
  EXPECT_FLOAT_EQ(h.hiTaka, 19.5f);
  EXPECT_EQ(h.flgHok, 1);
  EXPECT_EQ(h.flg25Dm, 2);
  EXPECT_FLOAT_EQ(h.dataUnit, 1.0f);  // psize 2 is 594 wide, drawWidth 594
  EXPECT_TRUE(h.para.empty());
}

TEST(JwcHeader, EveryBlockMustYieldAtLeastOneByte) {
  TempDir dir;
  const Bytes full = FullJwc();
  struct Case {
    std::size_t length;
    bool ok;
  };
  // Block 4 may be cut short, but not be missing; a file ending inside block 1 fails at
  // block 2.
  for (Case c : {Case{800, true}, Case{799, true}, Case{601, true}, Case{600, false}, Case{401, false},
                 Case{400, false}, Case{200, false}, Case{150, false}, Case{0, false}}) {
    TJwcData doc;
    EXPECT_EQ(doc.FileHeaderIn(WriteFileBytes(dir, u"a.jwc", Cut(full, c.length))), c.ok) << c.length;
    EXPECT_TRUE(doc.Enthd.para.empty()) << c.length;
  }
  EXPECT_FALSE(TJwcData().FileHeaderIn(PathIn(dir, u"missing.jwc")));
}

TEST(JwcHeader, AFailedReadLeavesAnEmptyDocument) {
  TempDir dir;
  TJwcData doc;
  ASSERT_TRUE(doc.FileHeaderIn(WriteFileBytes(dir, u"a.jwc", FullJwc())));
  ASSERT_FALSE(doc.FileHeaderIn(WriteFileBytes(dir, u"b.jwc", Cut(FullJwc(), 300))));
  EXPECT_EQ(doc.Enthd.mvDist, 0.0f);
  EXPECT_EQ(doc.Enthd.sBufAdr1, 0);
  ASSERT_FALSE(doc.FileHeaderIn(PathIn(dir, u"missing.jwc")));
  EXPECT_EQ(doc.Enthd.comment1, u"");
  EXPECT_EQ(doc.Enthd.lineCount, 0);
}

TEST(DosHeader, CommentFieldsAreFixedWidthAndEndAtNul) {
  TempDir dir;
  const std::string c32(32, 'c');
  const std::string id40 = std::string(kJwc) + std::string(20, 'i');
  // "図面" in code page 932, then a NUL and bytes that must not show.
  const std::string sjis = std::string("\x90\x7D\x96\xCA", 4) + std::string("\0hidden", 7);
  const Bytes bytes = Concat({IdentBlock(id40, c32, sjis), TextBlock("1"), TextBlock("1"), TextBlock("1")});
  TJwcData jwc;
  ASSERT_TRUE(jwc.FileHeaderIn(WriteFileBytes(dir, u"a.jwc", bytes)));
  EXPECT_EQ(jwc.Enthd.jwID, FromUtf8(id40));
  EXPECT_EQ(jwc.Enthd.comment1, String(32, u'c'));
  EXPECT_EQ(jwc.Enthd.comment2, u"図面");
  EXPECT_FALSE(jwc.Enthd.scaleF);  // character 23 is "i"

  TJwcData shortId;
  const Bytes idOf22 = Concat({IdentBlock(std::string(kJwc) + "ff"), TextBlock("1"), TextBlock("1"), TextBlock("1")});
  ASSERT_TRUE(shortId.FileHeaderIn(WriteFileBytes(dir, u"b.jwc", idOf22)));
  EXPECT_FALSE(shortId.Enthd.scaleF);  // fewer than 23 characters

  TJwkData jwk;
  ASSERT_TRUE(jwk.FileHeaderIn(WriteFileBytes(dir, u"c.jwk", Concat({IdentBlock(kJwk, std::string("a\0b", 3), c32), TextBlock("1")}))));
  EXPECT_EQ(jwk.Enthd.comment1, u"a");
  EXPECT_EQ(jwk.Enthd.comment2, String(32, u'c'));
}

TEST(JwcHeader, FieldsTheLineDoesNotReachStayZero) {
  TempDir dir;
  TJwcData doc;
  const Bytes bytes = Concat({IdentBlock(kJwc), TextBlock("5,0,3"), TextBlock(""), TextBlock("")});
  ASSERT_TRUE(doc.FileHeaderIn(WriteFileBytes(dir, u"a.jwc", bytes)));
  const TEntJwcHeader& h = doc.Enthd;
  EXPECT_EQ(h.lineCount, 5);
  EXPECT_EQ(h.arcCount, 0);
  EXPECT_EQ(h.mojiCount, 3);
  EXPECT_EQ(h.tenCount, 0);
  EXPECT_EQ(h.flgPthin, 0);
  EXPECT_EQ(h.drawWidth, 518);  // 0 stands for the default width
  EXPECT_EQ(h.psize, 0);
  EXPECT_FLOAT_EQ(h.dataUnit, 1189.0f / 518.0f);
  EXPECT_EQ(h.sBufAdr1, 0);
}

TEST(JwcHeader, NulBytesAndJunkInsideALineDoNotSpoilTheOtherFields) {
  TempDir dir;
  TJwcData doc;
  // A NUL ends the number it follows but not the line; junk fields read as 0; a trailing
  // comma and fields beyond the count change nothing.
  std::string line2 = std::string("1,2\0\0,3,abc,,1e,7", 17);
  std::string line3 = Join(std::vector<std::string>(28, "9")) + ",77,78,";
  const Bytes bytes = Concat({IdentBlock(kJwc), TextBlock(line2), TextBlock(line3), TextBlock("0001:0002,")});
  ASSERT_TRUE(doc.FileHeaderIn(WriteFileBytes(dir, u"a.jwc", bytes)));
  const TEntJwcHeader& h = doc.Enthd;
  EXPECT_EQ(h.lineCount, 1);
  EXPECT_EQ(h.arcCount, 2);
  EXPECT_EQ(h.mojiCount, 3);
  EXPECT_EQ(h.tenCount, 0);
  EXPECT_EQ(h.vtenCount, 0);
  EXPECT_EQ(h.curFno, 0);
  EXPECT_EQ(h.curMfno, 7);
  EXPECT_FLOAT_EQ(h.svScrnScl, 9.0f);
  EXPECT_EQ(h.sBufAdr1, 1 * 16 + 2);
  EXPECT_EQ(h.sBufAdr2, 0);
}

TEST(JwcHeader, DataUnitFollowsThePaperSize) {
  TempDir dir;
  struct Case {
    int psize, drawWidth;
    float dataUnit;
  };
  const std::vector<Case> cases = {
      {2, 594, 1.0f},          {2, 0, 594.0f / 518.0f}, {0, 1189, 1.0f},  {1, 841, 1.0f},
      {3, 210, 2.0f},          {4, 297, 1.0f},          {8, 841, 2.0f},   {9, 2378, 1.0f},
      {10, 3364, 1.0f},        {11, 4756, 1.0f},        {12, 1000, 10.0f}, {13, 500, 100.0f},
      {14, 1000, 100.0f},      {5, 300, 1.0f},          {7, 300, 1.0f},   {-1, 300, 1.0f},
      {15, 300, 1.0f},         {1, -841, -1.0f},
  };
  for (const Case& c : cases) {
    std::vector<std::string> f(32, "0");
    f[11] = std::to_string(c.psize);
    f[30] = std::to_string(c.drawWidth);
    const Bytes bytes = Concat({IdentBlock(kJwc), TextBlock(Join(f)), TextBlock(""), TextBlock("")});
    TJwcData doc;
    ASSERT_TRUE(doc.FileHeaderIn(WriteFileBytes(dir, u"a.jwc", bytes)));
    EXPECT_FLOAT_EQ(doc.Enthd.dataUnit, c.dataUnit) << c.psize << " " << c.drawWidth;
  }
}

TEST(JwcHeader, SegmentOffsetAddresses) {
  TempDir dir;
  struct Case {
    const char* field;
    std::int32_t address;
  };
  const std::vector<Case> cases = {
      {"1234:5678", 0x1234 * 16 + 0x5678},
      {"abcd:ef01", 0xABCD * 16 + 0xEF01},
      {"0000:0000", 0},
      {"12:34", 0},                  // characters 1-4 are "12:3": no number
      {"1234:zz", 0x1234 * 16},      // a bad offset counts 0
      {"1234", 0x1234 * 16},
      {"12345678901", 0x1234 * 16 + 0x6789},
      {"", 0},
  };
  for (const Case& c : cases) {
    const Bytes bytes =
        Concat({IdentBlock(kJwc), TextBlock(""), TextBlock(""), TextBlock(std::string(c.field) + ",0:0001")});
    TJwcData doc;
    ASSERT_TRUE(doc.FileHeaderIn(WriteFileBytes(dir, u"a.jwc", bytes)));
    EXPECT_EQ(doc.Enthd.sBufAdr1, c.address) << c.field;
  }
}

TEST(JwkHeader, ReadsBlockTwoAndNeedsIt) {
  TempDir dir;
  TJwkData doc;
  ASSERT_TRUE(doc.FileHeaderIn(WriteFileBytes(dir, u"a.jwk", FullJwk())));
  const TEntJwkHeader& h = doc.Enthd;
  EXPECT_EQ(h.jwID, u"jw_cad(c)sym........");
  EXPECT_EQ(h.comment1, u"shape one");
  EXPECT_EQ(h.comment2, u"shape two");
  EXPECT_EQ(h.lineCount, 7);
  EXPECT_EQ(h.arcCount, 8);
  EXPECT_EQ(h.tenCount, 9);
  EXPECT_EQ(h.mojiCount, 10);
  EXPECT_FLOAT_EQ(h.org_x, 1.25f);
  EXPECT_FLOAT_EQ(h.org_y, -2.5f);
  EXPECT_FLOAT_EQ(h.dispScale, 0.5f);
  EXPECT_EQ(h.strSpace, 3);
  EXPECT_FLOAT_EQ(h.scale, 2.5f);
  EXPECT_TRUE(h.para.empty());

  for (std::size_t length : {399u, 201u}) EXPECT_TRUE(doc.FileHeaderIn(WriteFileBytes(dir, u"b.jwk", Cut(FullJwk(), length))));
  for (std::size_t length : {200u, 100u, 0u}) {
    EXPECT_FALSE(doc.FileHeaderIn(WriteFileBytes(dir, u"b.jwk", Cut(FullJwk(), length)))) << length;
    EXPECT_EQ(doc.Enthd.lineCount, 0);
  }
}

TEST(JwkHeader, UnsetScaleMeansOne) {
  TempDir dir;
  struct Case {
    const char* text;
    float scale;
  };
  for (Case c : {Case{"0", 1.0f}, Case{"-3", 1.0f}, Case{"1e-15", 1.0f}, Case{"1e-14", 1.0f}, Case{"abc", 1.0f},
                 Case{"1e-13", 1e-13f}, Case{"50", 50.0f}}) {
    TJwkData doc;
    ASSERT_TRUE(doc.FileHeaderIn(WriteFileBytes(dir, u"a.jwk", FullJwk(c.text))));
    EXPECT_FLOAT_EQ(doc.Enthd.scale, c.scale) << c.text;
  }
}

TEST(DosHeader, SplitFields) {
  struct Case {
    std::u16string text;
    int count;
    std::vector<String> para;
  };
  const std::vector<Case> cases = {
      {u"1,2,3", 5, {u"1", u"2", u"3", u"0", u"0"}},
      {u"1,,3", 3, {u"1", u"", u"3"}},
      {u"1,2,", 3, {u"1", u"2", u"0"}},  // a trailing comma makes no empty field
      {u"a,b,c,d", 2, {u"a", u"b"}},
      {u",", 2, {u"", u"0"}},
      {u"", 2, {u"", u"0"}},
      {u"x", 0, {}},
  };
  for (const Case& c : cases) {
    std::vector<String> para{u"stale"};
    dos::SplitFields(c.text, c.count, para);
    EXPECT_EQ(para, c.para) << ToUtf8(c.text);
  }
}

// Arbitrary bytes behind a valid identification: the readers answer without crashing or
// reading outside their buffers (run under the sanitizers).
TEST(DosHeader, ArbitraryBytesNeverBreakTheReaders) {
  TempDir dir;
  std::mt19937 rng(12345);
  for (int round = 0; round < 200; ++round) {
    const std::size_t length = rng() % 1000;
    Bytes b(length);
    for (auto& x : b) x = static_cast<std::uint8_t>(rng());
    const std::string_view id = (round % 2) ? kJwc : kJwk;
    for (std::size_t i = 0; i < id.size() && i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(id[i]);
    const String path = WriteFileBytes(dir, u"r.jwx", b);
    TJwcData jwc;
    TJwkData jwk;
    const bool jwcOk = jwc.FileHeaderIn(path);
    const bool jwkOk = jwk.FileHeaderIn(path);
    EXPECT_EQ(jwcOk, length > 600) << length;
    EXPECT_EQ(jwkOk, length > 200) << length;
    if (jwcOk) {
      EXPECT_NE(jwc.Enthd.drawWidth, 0);
      EXPECT_FALSE(std::isnan(jwc.Enthd.dataUnit));
    }
  }
}

}  // namespace
}  // namespace plandown
