#include <gtest/gtest.h>

#include <filesystem>

#include "archive/instream.h"
#include "jww/downconvert.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/full_disk.h"
#include "support/predict.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown {
namespace {

using testing::Attr;
using testing::ListBuilder;
using testing::TempDir;
using testing::WriteToBytes;

// A drawing with the given main-list entities, written at `ver` and read back.
struct Trip {
  TJwwData src;
  TJwwData back;
  std::vector<std::uint8_t> bytes;
  Trip() {
    testing::InitTables(src);
    src.Enthd.jwVer = 700;
  }
  ListBuilder main() { return ListBuilder(MainList(src)); }
  void Run(int ver) {
    testing::Finish(src);
    bytes = WriteToBytes(src, ver);
    ASSERT_FALSE(bytes.empty());
    InStream in(bytes);
    ASSERT_TRUE(back.FileIn(in));
    ASSERT_EQ(in.remaining(), 0u);
  }
};

TEST(JwwWriter, AttributeRules) {
  struct Case {
    int kind;  // 1 line, 3 point, 6 solid, 7 insert
    std::uint8_t style;
    std::uint16_t color;
    int ver;
    std::uint8_t wantStyle;
    std::uint16_t wantColor;
  } cases[] = {
      {1, 38, 105, 351, 5, 4},     // SXF chain / yellow mapped
      {1, 38, 105, 420, 38, 105},  // kept from 4.20 on
      {1, 44, 1, 300, 17, 1},      // SXF 44 becomes 17, which the range check keeps
      {1, 50, 200, 351, 1, 1},     // user-defined SXF: the defaults
      {1, 50, 200, 300, 1, 1},
      {1, 50, 200, 600, 50, 200},
      {1, 0, 0, 600, 1, 1},        // out of range for every target
      {1, 25, 400, 420, 1, 1},
      {1, 1, 10, 600, 1, 1},       // colour 10 is for solids only
      {6, 1, 10, 300, 1, 10},
      {3, 5, 2, 600, 1, 2},        // point style other than 1 and 100
      {7, 38, 105, 300, 38, 105},  // inserts keep SXF numbers even for 3.00
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << c.kind << " style " << int(c.style) << " colour " << c.color << " ver " << c.ver);
    Trip t;
    TEntJwwAttr a = Attr(c.style, c.color);
    if (c.kind == 1) t.main().Add(testing::Line(0, 0, 1, 1, a));
    if (c.kind == 3) {
      TEntJwwTen p;
      p.att = a;
      t.main().Add(p);
    }
    if (c.kind == 6) {
      TEntJwwSolid s;
      s.att = a;
      s.Color = 0xABCDEF;
      t.main().Add(s);
    }
    if (c.kind == 7) {
      TEntJwwBlock b = testing::Insert(1);
      b.att = a;
      t.main().Add(b);
      testing::AddDefinition(t.src, 1, u"b");
    }
    t.Run(c.ver);
    TEntJwwAttr got = c.kind == 1 ? t.back.EntLine[0].att
                      : c.kind == 3 ? t.back.EntTen[0].att
                      : c.kind == 6 ? t.back.EntSolid[0].att
                                    : t.back.EntBlock[0].att;
    EXPECT_EQ(got.nPenStyle, c.wantStyle);
    EXPECT_EQ(got.nPenColor, c.wantColor);
    if (c.kind == 6) {
      EXPECT_EQ(t.back.EntSolid[0].Color, 0xABCDEFu);
    }
  }
}

TEST(JwwWriter, LayersWidthsAndAttributeLength) {
  for (int ver : {300, 351}) {
    Trip t;
    t.main().Add(testing::Line(0, 0, 1, 1, Attr(1, 1, 30001, 16, 16)));
    t.Run(ver);
    EXPECT_EQ(t.back.EntLine[0].att.nLayer, 0);
    EXPECT_EQ(t.back.EntLine[0].att.nGLayer, 0);
    EXPECT_EQ(t.back.EntLine[0].att.nPenWidth, 0);
    EXPECT_EQ(t.src.LastWriteReport().valuesReplaced, ver == 300 ? 3u : 3u);
  }
  // The attribute block is two bytes shorter for 3.00: one line differs by exactly that.
  Trip a, b;
  a.main().Add(testing::Line(0, 0, 1, 1));
  b.main().Add(testing::Line(0, 0, 1, 1));
  a.Run(300);
  b.Run(351);
  Trip a0, b0;
  a0.Run(300);
  b0.Run(351);
  EXPECT_EQ(a.bytes.size() - a0.bytes.size(), 2u + 2u + 10u + 45u);  // count growth, new-class tag, record
  EXPECT_EQ(b.bytes.size() - b0.bytes.size(), 2u + 2u + 10u + 47u);
}

TEST(JwwWriter, SxfTablesOnlyFromFourTwenty) {
  Trip t420, t351;
  t420.src.EntColS[5].astrUDColorName = u" \u3000 ";
  t420.src.EntColS[20].aPenColor = 0x112233;
  t420.src.EntColS[20].aPrtPenColor = 0x445566;
  t420.src.EntLtpS[20].anUDLTypeSegment = 3;
  t420.src.EntLtpS[10].anUDLTypeSegment = 3;
  t420.src.EntLtpS[4].alLType = 0;
  t420.src.EntLay[3].aStrLayName = u"\t";
  t420.src.EntLay[4].aStrLayName = u"";
  t420.Run(420);
  t351.Run(351);
  const TJwwData& b = t420.back;
  EXPECT_EQ(b.EntColS[5].astrUDColorName, u"Color_5");
  EXPECT_EQ(b.EntColS[20].aPrtPenColor, 0x112233);
  EXPECT_EQ(b.EntLtpS[20].alLType, static_cast<std::int32_t>(0xC3C3C3C3u));
  EXPECT_EQ(b.EntLtpS[20].anTokushuSenUintDot, 8);
  EXPECT_EQ(b.EntLtpS[20].astrUDLTypeName, u"LType_20");
  EXPECT_EQ(b.EntLtpS[20].anUDLTypeSegment, 2);
  EXPECT_EQ(b.EntLtpS[20].aadUDLTypePitch[2], 1.0);
  EXPECT_EQ(b.EntLtpS[20].aadUDLTypePitch[3], 0.0);
  EXPECT_EQ(b.EntLtpS[10].anUDLTypeSegment, 3);  // rows below 17 are kept
  EXPECT_EQ(b.EntLtpS[4].alLType, -1);
  EXPECT_EQ(b.EntLay[3].aStrLayName, u" ");
  EXPECT_EQ(b.EntLay[4].aStrLayName, u"");
  EXPECT_EQ(t420.src.LastWriteReport().sxfRowsRepaired, 1u);
  EXPECT_EQ(t351.back.EntColS[5].astrUDColorName, u"");  // not in the file
  // The two tables: 257 * (8 + 1 + 7 + 16) + 33 * (16 + 1 + 7? + 84) bytes, roughly 14 KB.
  EXPECT_GT(t420.bytes.size(), t351.bytes.size() + 10000);
}

TEST(JwwWriter, HeaderClamps) {
  Trip t;
  t.src.EntCol[0].aPrtPenColor = 0x123456;
  t.src.EntCol[1].anPenWidth = 99;
  t.src.EntCol[2].adPrtTenHankei = 50;
  t.src.EntMoj[1].adMojiX = -2.5;
  t.src.EntMoj[1].adMojiY = 0;
  t.src.Enthd.nMaxDrawWid = -300;
  t.Run(420);
  EXPECT_EQ(t.back.EntCol[0].aPrtPenColor, 0xFFFFFF);
  EXPECT_EQ(t.back.EntCol[1].anPenWidth, 16);
  EXPECT_EQ(t.back.EntCol[2].adPrtTenHankei, 10.0);
  EXPECT_EQ(t.back.EntMoj[1].adMojiX, 2.5);
  EXPECT_EQ(t.back.EntMoj[1].adMojiY, 1e-10);
  EXPECT_EQ(t.back.Enthd.nMaxDrawWid, -101);
  Trip u;
  u.src.Enthd.nMaxDrawWid = -300;
  u.Run(600);
  EXPECT_EQ(u.back.Enthd.nMaxDrawWid, -300);
}

TEST(JwwWriter, Strings) {
  Trip t;
  t.main().Add(testing::Text(u"A^mB\\nC"));
  t.main().Add(testing::Text(u"^@BMD:\\photos\\new\\p.jpg,10,10"));
  t.main().Add(testing::Text(u"é?"));
  t.src.Enthd.strMemo = u"line1\r\nline2";
  t.Run(600);
  EXPECT_EQ(t.back.EntMoji[0].str, u"ABC");
  EXPECT_EQ(t.back.EntMoji[1].str, u"^@BMD:\\photos\\new\\p.jpg,10,10");  // the image path survives
  EXPECT_EQ(t.back.EntMoji[2].str, u"??");
  EXPECT_EQ(t.back.Enthd.strMemo, u"line1\r\nline2");
  EXPECT_EQ(t.src.LastWriteReport().charsReplaced, 1u);
}

// The writer takes a string as it stands when the predicate says so: that must never skip
// a change the preparation would make, for any option bits.
TEST(JwwWriter, StringsTakenAsTheyStandAreThoseThePreparationKeeps) {
  const char16_t pool[] = {u'a', u'^', u'm', u'\\', u'n', u'\r', u'\t', u' ', u'%', u'@', u'B', u'M', u'平', u','};
  std::vector<String> cases = {u"", u"^", u"^@BM", u"^@BMx\\n,1", u"^@BM%temp%x,1", u"a^^mm", u"\\\\nn", u"%%1"};
  std::uint32_t seed = 1;
  for (int i = 0; i < 20000; ++i) {
    String s;
    for (int k = static_cast<int>((seed = seed * 1103515245 + 12345) >> 16) % 9; k > 0; --k)
      s.push_back(pool[((seed = seed * 1103515245 + 12345) >> 16) % std::size(pool)]);
    cases.push_back(s);
  }
  int taken = 0;
  for (const String& s : cases) {
    if (NameIsPrepared(s)) {
      ++taken;
      ASSERT_EQ(PrepareName(s), s);
    }
    for (int opt : {0, OptStripImagePath, OptDropTempMarker, OptPercentSubstitution}) {
      if (TextStringIsPrepared(s, opt)) {
        ASSERT_EQ(PrepareTextString(s, opt), s) << opt;
      }
      if (DimensionTextIsPrepared(s, opt)) {
        ASSERT_EQ(PrepareDimensionText(s, opt), s) << opt;
      }
    }
  }
  EXPECT_GT(taken, 1000);
}

TEST(JwwWriter, UnicodeStringOptionKeepsEveryCharacter) {
  Trip t;
  t.main().Add(testing::Text(u"é 😀 平面"));
  t.src.EntLay[7].aStrLayName = u"Ünïcode";
  t.src.SetFileOutOption(0x20);
  t.Run(600);
  EXPECT_EQ(t.back.EntMoji[0].str, u"é 😀 平面");
  EXPECT_EQ(t.back.EntLay[7].aStrLayName, u"Ünïcode");
  EXPECT_EQ(t.src.LastWriteReport().charsReplaced, 0u);
  t.src.SetFileOutOption(64);  // out of range: no options
  EXPECT_EQ(t.src.FileOutOpt, 0);
}

TEST(JwwWriter, DimensionsDecomposeBelowFourTwenty) {
  for (int ver : {351, 300, 420}) {
    Trip t;
    t.main().Add(testing::Dimension(true));
    t.main().Add(testing::Dimension(false));
    TEntJwwBlockDef& def = testing::AddDefinition(t.src, 1, u"d");
    ListBuilder(MemberList(def)).Add(testing::Dimension(true));
    t.main().Add(testing::Insert(1));
    t.Run(ver);
    if (ver >= 420) {
      EXPECT_EQ(t.back.Enthd.n1, 3);
      EXPECT_EQ(t.back.EntSunpoN, 2);
      EXPECT_EQ(t.back.EntSunpo[0].bSxfMode, 1);
      continue;
    }
    EXPECT_EQ(t.back.Enthd.n1, 3 + 6);
    EXPECT_EQ(t.back.EntSunpoN, 2);
    EXPECT_EQ(t.back.EntLineN, 2);
    ASSERT_EQ(t.back.EntTenN, 4);
    EXPECT_EQ(t.back.EntTen[0].bKariten, 0u);
    EXPECT_EQ(t.back.EntTen[2].bKariten, 1u);
    EXPECT_EQ(t.back.EntTen[3].bKariten, 1u);
    EXPECT_EQ(t.back.EntTen[3].start_x, 100.0);
    // The order: dimension, its two lines and four points, then the plain dimension.
    EXPECT_EQ(t.back.EntNo[1], (TEntJwwNo{1, 0}));
    EXPECT_EQ(t.back.EntNo[6], (TEntJwwNo{3, 3}));
    EXPECT_EQ(t.back.EntNo[7], (TEntJwwNo{5, 1}));
    EXPECT_EQ(t.back.EntBlockDef[0].N, 7);
    EXPECT_EQ(t.src.LastWriteReport().dimensionsDecomposed, 2u);
  }
  // A document read from 3.51 keeps its dimensions whole.
  Trip old;
  old.src.Enthd.jwVer = 351;
  old.main().Add(testing::Dimension(true));
  old.Run(300);
  EXPECT_EQ(old.back.Enthd.n1, 1);
}

TEST(JwwWriter, ListAndIndexLimits) {
  {
    // 65535 objects: the count takes its long form.
    Trip t;
    for (int i = 0; i < 65535; ++i) t.main().Add(testing::Line(i, 0, i, 1));
    t.Run(600);
    EXPECT_EQ(t.back.Enthd.n1, 65535);
    EXPECT_EQ(t.back.EntLineN, 65535);
  }
  {
    // A class introduced past map index 32767 is referred to in the long form.
    Trip t;
    for (int i = 0; i < 32770; ++i) t.main().Add(testing::Line(i, 0, i, 1));
    TEntJwwEnko arc;
    arc.att = Attr(1, 1);
    arc.dHankei = 1;
    t.main().Add(arc);
    arc.dHankei = 2;
    t.main().Add(arc);
    t.Run(600);
    ASSERT_EQ(t.back.EntEnkoN, 2);
    EXPECT_EQ(t.back.EntEnko[1].dHankei, 2.0);
    // The last record is preceded by 0x7FFF and 0x80000000 + the class's index (32772).
    const auto& b = t.bytes;
    const std::size_t at = b.size() - 2 - 75 - 6;  // before the arc and the definition count
    EXPECT_EQ(b[at], 0xFF);
    EXPECT_EQ(b[at + 1], 0x7F);
    EXPECT_EQ(GetU32(&b[at + 2]), 0x80000000u + 32772u);
  }
}

TEST(JwwWriter, EmptyDocumentAndFailedCreation) {
  Trip t;
  t.Run(600);
  EXPECT_EQ(t.bytes[t.bytes.size() - 4], 0);
  EXPECT_EQ(t.bytes[t.bytes.size() - 3], 0);
  TempDir dir;
  TJwwData d;
  testing::InitTables(d);
  EXPECT_FALSE(d.FileOut(dir.file("missing/sub/x.jww"), 600));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

TEST(JwwWriter, FullDiskFailsAndLeavesNoFile) {
  testing::FullDiskPlace place;
  if (!place.unavailable().empty()) GTEST_SKIP() << place.unavailable();
  TempDir dir(place.folder());
  const String path = dir.file("big.jww");
  TJwwData d;
  testing::SyntheticDrawing(d, 20000);
  const int written = place.Run(64 * 1024, [&] { return d.FileOut(path, 600) ? 1 : 0; });
  EXPECT_EQ(written, 0) << "FileOut reported success on a full disk";
  EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "a partial or temporary file was left";
}

TEST(JwwWriter, CorpusDrawingConvertsToEveryTarget) {
  const auto dir = testing::CorpusDir();
  if (dir.empty()) GTEST_SKIP() << "../shared/corpus is absent";
  TempDir out;
  int seen = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
    if (e.path().extension() != ".jww") continue;
    ++seen;
    TJwwData d;
    d.BindImageExr = true;
    ASSERT_TRUE(d.FileIn(FromFsPath(e.path())));
    for (int ver : {600, 420, 351, 300}) {
      SCOPED_TRACE(ver);
      ASSERT_TRUE(d.FileOut(out.file("x.jww"), ver));
      TJwwData back;
      back.BindImageExr = true;
      InStream in(out.file("x.jww"));
      ASSERT_TRUE(back.FileIn(in));
      EXPECT_EQ(in.remaining(), 0u);
      EXPECT_EQ(back.Enthd.jwVer, ver);
      testing::ExpectCounts(back, back.Enthd.n1, testing::Predict(d, d.Enthd.jwVer, ver));
      EXPECT_EQ(back.EntBlockNum, d.EntBlockNum);
    }
  }
  EXPECT_GT(seen, 0);
}

}  // namespace
}  // namespace plandown
