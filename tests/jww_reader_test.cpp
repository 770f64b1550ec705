#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "archive/instream.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown {
namespace {

using testing::ReadFileBytes;
using testing::SampleDrawing;
using testing::TempDir;
using testing::WriteToBytes;

bool ReadBytes(TJwwData& d, const std::vector<std::uint8_t>& bytes, std::uint64_t* left = nullptr) {
  InStream in(bytes);
  bool ok = d.FileIn(in);
  if (left) *left = in.remaining();
  return ok;
}

template <class T>
void ExpectSame(const std::vector<T>& a, const std::vector<T>& b, const char* what) {
  ASSERT_EQ(a.size(), b.size()) << what;
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(a[i] == b[i]) << what << " " << i;
}

TEST(JwwReader, SevenHundredRoundTripKeepsEveryEntity) {
  TJwwData src;
  SampleDrawing(src);
  auto bytes = WriteToBytes(src, 700);
  ASSERT_FALSE(bytes.empty());
  TJwwData back;
  back.BindImageExr = true;  // so that the (empty) image section is read too
  std::uint64_t left = 1;
  ASSERT_TRUE(ReadBytes(back, bytes, &left));
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(back.Enthd.jwVer, 700);
  EXPECT_EQ(back.Enthd.strMemo, src.Enthd.strMemo);
  EXPECT_EQ(back.Enthd.n1, src.Enthd.n1);
  EXPECT_EQ(back.Enthd.n2, 2);  // the unreferenced definition is not written
  ExpectSame(back.EntNo, src.EntNo, "order");
  ExpectSame(back.EntLine, src.EntLine, "lines");
  ExpectSame(back.EntEnko, src.EntEnko, "arcs");
  ExpectSame(back.EntTen, src.EntTen, "points");
  ExpectSame(back.EntMoji, src.EntMoji, "texts");
  ExpectSame(back.EntSunpo, src.EntSunpo, "dimensions");
  ExpectSame(back.EntSolid, src.EntSolid, "solids");
  // Inserts are renumbered to the written definitions: 7 -> 0, 5 -> 1; 9 is dropped.
  ASSERT_EQ(back.EntBlockN, 2);
  EXPECT_EQ(back.EntBlock[0].nNumber, 0u);
  EXPECT_EQ(back.EntBlock[1].nNumber, 1u);
  ASSERT_EQ(back.EntBlockDefN, 2);
  EXPECT_EQ(back.EntBlockDef[0].strName, u"外側");
  EXPECT_EQ(back.EntBlockDef[0].mBlock[0].nNumber, 1u);
  EXPECT_EQ(back.EntBlockDef[1].strName, u"内側");
  ExpectSame(back.EntBlockDef[1].mMoji, src.EntBlockDef[2].mMoji, "member texts");
  EXPECT_EQ(back.EntBlockNum, 2);
  EXPECT_EQ(back.EntBlockTreeN, 3);  // two inserts, and 5 placed inside 7
  EXPECT_EQ(back.EntLay[0].aStrLayName, u"壁");
  EXPECT_EQ(back.EntColS[20].astrUDColorName, u"Color_20");
  EXPECT_EQ(back.Enthd.nPrtDpi, 60);
  EXPECT_EQ(back.Enthd.nPrtDispOnlyNonDraw, 1);
}

// Which optional header rows and record forms each generation carries.
TEST(JwwReader, GenerationThresholds) {
  struct Case {
    int ver;
    bool drawTime, sunpouSizes, solidColor, eightZooms, tenkuu, penWidth, sxf;
  } cases[] = {
      {220, false, false, false, false, false, false, false},
      {222, false, false, false, false, false, false, false},
      {223, true, false, false, false, false, false, false},
      {224, true, false, false, false, false, false, false},
      {225, true, true, false, false, false, false, false},
      {230, true, true, true, false, false, false, false},
      {231, true, true, true, true, false, false, false},
      {299, true, true, true, true, false, false, false},
      {300, true, true, true, true, true, false, false},
      {350, true, true, true, true, true, false, false},
      {351, true, true, true, true, true, true, false},
      {419, true, true, true, true, true, true, false},
      {420, true, true, true, true, true, true, true},
      {600, true, true, true, true, true, true, true},
      {700, true, true, true, true, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ver);
    TJwwData src;
    SampleDrawing(src);
    src.Enthd.lnDrawTime = 77;
    src.Enthd.dSenNagasaSnpou = 2.5;
    src.Enthd.SolidColor = 0x123456;
    src.Enthd.dZoomJumpBairitsu[6] = 4.0;
    src.Enthd.nZoomJumpGLay[2] = 3;
    src.Enthd.dTenkuuZuLevel = 9.0;
    auto bytes = WriteToBytes(src, c.ver);
    TJwwData back;
    back.BindImageExr = true;
    std::uint64_t left = 1;
    ASSERT_TRUE(ReadBytes(back, bytes, &left));
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(back.Enthd.jwVer, c.ver);
    EXPECT_EQ(back.Enthd.lnDrawTime, c.drawTime ? 77 : 0);
    EXPECT_EQ(back.Enthd.dSenNagasaSnpou, c.sunpouSizes ? 2.5 : 0.0);
    EXPECT_EQ(back.Enthd.SolidColor, c.solidColor ? 0x123456 : 0);
    EXPECT_EQ(back.Enthd.dZoomJumpBairitsu[6], c.eightZooms ? 4.0 : 1.0);
    EXPECT_EQ(back.Enthd.nZoomJumpGLay[2], c.eightZooms ? 3 : -1);
    EXPECT_EQ(back.Enthd.dTenkuuZuLevel, c.tenkuu ? 9.0 : 0.0);
    // Below 4.20 the SXF dimension's two lines follow as lines of their own.
    ASSERT_EQ(back.EntLineN, c.sxf ? 2 : 4);
    EXPECT_EQ(back.EntLine[1].att.nPenWidth, c.penWidth ? 3 : 0);
    EXPECT_EQ(back.EntLine[1].att.nLayer, 4);  // fields after the pen width land right
    EXPECT_EQ(back.EntLine[1].att.nGLayer, 1);
    EXPECT_EQ(back.EntLine[1].end_x, 15.0);
    EXPECT_EQ(back.EntColS.size(), 257u);
    EXPECT_EQ(back.EntLtpS.size(), 33u);
    EXPECT_EQ(back.EntColS[5].astrUDColorName, c.sxf ? u"Color_5" : u"");
    const TEntJwwSunpo& dim = back.EntSunpo[0];
    if (c.sxf) {
      EXPECT_EQ(dim.bSxfMode, 1);
      EXPECT_EQ(dim.Ho2.start_x, 100.0);
    } else {
      // Older dimensions: parts carry the dimension's attributes and no geometry.
      EXPECT_EQ(dim.bSxfMode, 0);
      EXPECT_EQ(dim.Ho2.start_x, 0.0);
      EXPECT_EQ(dim.Ho2.att.nPenColor, dim.att.nPenColor);
      EXPECT_EQ(dim.Kt1.att.nPenStyle, 0);
      EXPECT_EQ(dim.Kt1.att.nPenColor, dim.att.nPenColor);
    }
  }
}

TEST(JwwReader, HeaderDerivedValues) {
  struct Case {
    std::int32_t wid;
    bool senHaba100;
    std::int32_t bak;
  } cases[] = {{-250, true, 50}, {-450, true, -50}, {-150, true, -100}, {5, false, 5}, {-101, true, -100}, {-100, false, -100}};
  for (const Case& c : cases) {
    TJwwData src;
    SampleDrawing(src);
    src.Enthd.nMaxDrawWid = c.wid;
    TJwwData back;
    ASSERT_TRUE(ReadBytes(back, WriteToBytes(src, 600)));
    EXPECT_EQ(back.Enthd.bSenHaba100, c.senHaba100) << c.wid;
    EXPECT_EQ(back.Enthd.nMaxDrawWidBak, c.bak) << c.wid;
  }
  // The print word: 6001 splits into 1 and 600.
  TJwwData src;
  SampleDrawing(src);
  src.Enthd.nPrtDispOnlyNonDraw = 1;
  src.Enthd.nPrtDpi = 600;
  TJwwData back;
  ASSERT_TRUE(ReadBytes(back, WriteToBytes(src, 600)));
  EXPECT_EQ(back.Enthd.nPrtDispOnlyNonDraw, 1);
  EXPECT_EQ(back.Enthd.nPrtDpi, 600);
}

TEST(JwwReader, InvalidTextSizesAreRepaired) {
  TJwwData src;
  SampleDrawing(src);
  src.EntMoj[3].adMojiD = INFINITY;
  src.EntMoji[0].dKankaku = NAN;
  auto bytes = WriteToBytes(src, 700);
  TJwwData back;
  ASSERT_TRUE(ReadBytes(back, bytes));
  EXPECT_EQ(back.EntMoj[3].adMojiD, 0.0);
  EXPECT_EQ(back.EntMoji[0].dKankaku, 0.0);
  // A NaN width (the writer keeps NaN through its clamp) reads as 3.0.
  src.EntMoj[2].adMojiX = NAN;
  ASSERT_TRUE(ReadBytes(back, WriteToBytes(src, 700)));
  EXPECT_EQ(back.EntMoj[2].adMojiX, 3.0);
}

TEST(JwwReader, RecognitionAndHeaderOnlyRead) {
  TempDir dir;
  auto write = [&](const std::string& name, std::vector<std::uint8_t> bytes) {
    std::ofstream(dir.path() / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return dir.file(name);
  };
  auto sig = [](const char* s, std::int32_t ver) {
    std::vector<std::uint8_t> b(s, s + 8);
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(ver >> (8 * i)));
    return b;
  };
  TJwwData d;
  EXPECT_FALSE(d.FileCheck(write("short.jww", {'J', 'w', 'w'})));
  EXPECT_FALSE(d.FileCheck(write("jws.jww", sig("JwsData.", 600))));
  EXPECT_FALSE(d.FileCheck(write("v219.jww", sig("JwwData.", 219))));
  EXPECT_FALSE(d.FileCheck(write("v701.jww", sig("JwwData.", 701))));
  EXPECT_TRUE(d.FileCheck(write("v220.jww", sig("JwwData.", 220))));
  const String truncated = write("v700.jww", sig("JwwData.", 700));
  EXPECT_TRUE(d.FileCheck(truncated));
  EXPECT_FALSE(d.FileHeaderIn(truncated));
  EXPECT_FALSE(d.FileCheck(dir.file("missing.jww")));
  EXPECT_FALSE(d.FileHeaderIn(dir.file("missing.jww")));
  EXPECT_EQ(d.Enthd.jwVer, 0);

  TJwwData src;
  SampleDrawing(src);
  const String full = write("full.jww", WriteToBytes(src, 600));
  ASSERT_TRUE(d.FileHeaderIn(full));
  EXPECT_EQ(d.Enthd.jwVer, 600);
  EXPECT_EQ(d.Enthd.strMemo, u"一行目\r\n二行目");
  EXPECT_EQ(d.EntLay.size(), 256u);
  EXPECT_EQ(d.EntNo.size(), 0u);
  EXPECT_EQ(d.EntLineN, 0);
}

TEST(JwwReader, NewDocumentDefaults) {
  TJwwData d;
  EXPECT_EQ(d.EntLay.size(), 0u);
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(d.Enthd.nZoomJumpGLay[i], -1);
    EXPECT_EQ(d.Enthd.dZoomJumpBairitsu[i], 1.0);
  }
  EXPECT_EQ(d.Enthd.dBairitsu, 1.0);
  EXPECT_EQ(d.Enthd.dHanniBairitsu, 1.0);
  d.BindImageFolder = u"/tmp/x/";
  d.BindImageExr = true;
  SampleDrawing(d);
  d.DataFree();
  EXPECT_TRUE(d.EntBlockDef.empty());
  EXPECT_EQ(d.BindImageFolder, u"/tmp/x/");
  EXPECT_TRUE(d.BindImageExr);
}

// Every prefix of a drawing with all three sections reads without harm and never claims
// more than it holds.
TEST(JwwReader, EveryTruncationIsSafe) {
  TJwwData src;
  SampleDrawing(src);
  TempDir images;
  src.BindImageFolder = images.folder();
  {
    std::ofstream(images.path() / "pic.png", std::ios::binary) << "not really a png but bytes";
  }
  src.BindImage.push_back({u"pic.png", 0, false});
  src.BindImageN = 1;
  src.BindImageExr = true;
  src.EntMoji[0].str = u"^@BM%temp%pic.png,1,1";
  auto bytes = WriteToBytes(src, 700);
  ASSERT_FALSE(bytes.empty());
  TJwwData full;
  full.BindImageExr = true;
  ASSERT_TRUE(ReadBytes(full, bytes));
  ASSERT_EQ(full.BindImageN, 1);
  EXPECT_EQ(full.BindImage[0].Fsize, 26);

  TJwwData d;
  d.BindImageExr = true;
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    std::uint64_t left = 0;
    ReadBytes(d, prefix, &left);
    EXPECT_EQ(left, 0u) << n;
    // Every order entry names an element that exists.
    for (const TEntJwwNo& no : d.EntNo)
      EXPECT_TRUE(no.EntType == 0 || (no.EntType <= 7 && no.EntNo < MainList(d).CountOf(no.EntType))) << n;
    EXPECT_LE(d.EntLineN, full.EntLineN);
    EXPECT_LE(d.EntSunpoN, full.EntSunpoN);
    EXPECT_LE(d.EntNo.size(), full.EntNo.size());
    EXPECT_LE(d.EntBlockDef.size(), 3u);
  }
}

std::vector<std::uint8_t> HeaderOnly(int ver) {
  TJwwData src;
  testing::InitTables(src);
  testing::Finish(src);
  auto bytes = WriteToBytes(src, ver);
  bytes.resize(bytes.size() - (ver >= 700 ? 8 : 4));  // drop the empty counts
  return bytes;
}

void Append(std::vector<std::uint8_t>& b, std::initializer_list<std::uint8_t> more) { b.insert(b.end(), more); }

TEST(JwwReader, AbsurdCountsDoNotAllocate) {
  {
    auto b = HeaderOnly(600);
    Append(b, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});  // 4 294 967 295 objects, none there
    TJwwData d;
    EXPECT_FALSE(ReadBytes(d, b));
    EXPECT_EQ(d.Enthd.n1, INT32_MAX);  // kept in the signed range, never negative
    EXPECT_LE(d.EntNo.size(), 1u);
  }
  {
    auto b = HeaderOnly(600);
    Append(b, {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x7F});  // no objects, 2^31 definitions
    TJwwData d;
    EXPECT_FALSE(ReadBytes(d, b));
    EXPECT_LE(d.EntBlockDef.size(), 1u);
  }
  {
    // A definition that declares 2^32-1 members and holds none.
    auto b = HeaderOnly(600);
    Append(b, {0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x58, 0x02, 0x09, 0x00, 'C', 'D', 'a', 't', 'a', 'L', 'i', 's', 't'});
    b.insert(b.end(), 27, 0x00);
    Append(b, {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    TJwwData d;
    EXPECT_FALSE(ReadBytes(d, b));
    ASSERT_EQ(d.EntBlockDef.size(), 1u);
    EXPECT_LE(d.EntBlockDef[0].mNo.size(), 1u);
  }
  {
    // Bound images: a count of 2^31-1 and a negative size.
    auto b = HeaderOnly(700);
    Append(b, {0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 0x01, 'a', 0xFF, 0xFF, 0xFF, 0xFF});
    TJwwData d;
    d.BindImageExr = true;
    EXPECT_FALSE(ReadBytes(d, b));
    ASSERT_EQ(d.BindImageN, 1);
    EXPECT_EQ(d.BindImage[0].Fsize, -1);
  }
}

TEST(JwwReader, UnknownClassEndsTheReadKeepingWhatWasRead) {
  auto b = HeaderOnly(600);
  Append(b, {0x02, 0x00, 0xFF, 0xFF, 0x58, 0x02, 0x08, 0x00, 'C', 'D', 'a', 't', 'a', 'S', 'e', 'n'});
  b.insert(b.end(), 47, 0x00);
  Append(b, {0xFF, 0xFF, 0x58, 0x02, 0x04, 0x00, 'C', 'D', 'a', 't'});
  TJwwData d;
  EXPECT_FALSE(ReadBytes(d, b));
  EXPECT_EQ(d.EntLineN, 1);
  EXPECT_EQ(d.Enthd.n1, 2);
  EXPECT_EQ(d.EntNo[0], (TEntJwwNo{1, 0}));
}

TEST(JwwReader, LongTimeFormAndClassIndicesAcrossSections) {
  // Section A: new class CDataBlock (1), insert (2); section B: CDataList new class (3),
  // definition (4) with a long time, one member line: new class CDataSen (5), line (6),
  // then a reference 0x8001 back to CDataBlock from section A.
  auto b = HeaderOnly(600);
  Append(b, {0x01, 0x00, 0xFF, 0xFF, 0x58, 0x02, 0x0A, 0x00, 'C', 'D', 'a', 't', 'a', 'B', 'l', 'o', 'c', 'k'});
  std::vector<std::uint8_t> insert(59, 0x00);
  insert[55] = 3;  // nNumber 3
  b.insert(b.end(), insert.begin(), insert.end());
  Append(b, {0x01, 0x00, 0xFF, 0xFF, 0x58, 0x02, 0x09, 0x00, 'C', 'D', 'a', 't', 'a', 'L', 'i', 's', 't'});
  std::vector<std::uint8_t> def(27, 0x00);
  def[15] = 3;                                      // nNumber
  def[23] = 0x00, def[24] = 0x00, def[25] = 0x00, def[26] = 0x80;  // dtime with its top bit
  b.insert(b.end(), def.begin(), def.end());
  b.insert(b.end(), 8, 0xEE);  // the 64-bit time
  Append(b, {0x02, 'D', '1', 0x02, 0x00});
  Append(b, {0xFF, 0xFF, 0x58, 0x02, 0x08, 0x00, 'C', 'D', 'a', 't', 'a', 'S', 'e', 'n'});
  b.insert(b.end(), 47, 0x00);
  Append(b, {0x01, 0x80});
  b.insert(b.end(), insert.begin(), insert.end());
  TJwwData d;
  std::uint64_t left = 1;
  ASSERT_TRUE(ReadBytes(d, b, &left));
  EXPECT_EQ(left, 0u);
  ASSERT_EQ(d.EntBlockDefN, 1);
  const TEntJwwBlockDef& def0 = d.EntBlockDef[0];
  EXPECT_EQ(def0.dtime, 1u);
  EXPECT_EQ(def0.strName, u"D1");
  EXPECT_EQ(def0.mLineN, 1);
  EXPECT_EQ(def0.mBlockN, 1);
  EXPECT_EQ(def0.mNo[1], (TEntJwwNo{7, 0}));
  EXPECT_TRUE(def0.ref_flag);
}

TEST(JwwReader, CorpusDrawingsReadToTheirEnd) {
  const auto dir = testing::CorpusDir();
  if (dir.empty()) GTEST_SKIP() << "../shared/corpus is absent";
  int seen = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
    std::string ext = e.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext != ".jww") continue;
    ++seen;
    TJwwData d;
    d.BindImageExr = true;
    InStream in(FromFsPath(e.path()));
    ASSERT_TRUE(in.ok());
    EXPECT_TRUE(d.FileIn(in)) << e.path();
    EXPECT_EQ(in.remaining(), 0u) << e.path();
    EXPECT_GT(d.Enthd.n1, 0);
  }
  EXPECT_GT(seen, 0);
}

}  // namespace
}  // namespace plandown
