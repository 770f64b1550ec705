#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "archive/instream.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/predict.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown {
namespace {

using testing::TempDir;

void WriteBytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& b) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

std::vector<std::uint8_t> JwsHeaderBytes(std::int32_t ver, std::size_t length = 452) {
  std::vector<std::uint8_t> b(length, 0);
  std::memcpy(b.data(), "JwsData", 7);
  for (int i = 0; i < 4; ++i) b[200 + i] = static_cast<std::uint8_t>(ver >> (8 * i));
  return b;
}

TEST(Jws, RecognitionAtTheGenerationBoundaries) {
  TempDir dir;
  struct Case {
    std::vector<std::uint8_t> bytes;
    bool jws, jww;
  } cases[] = {
      {JwsHeaderBytes(229), false, false}, {JwsHeaderBytes(230), true, false},
      {JwsHeaderBytes(700), true, false},  {JwsHeaderBytes(701), false, false},
      {{'J', 'w', 'w', 'D', 'a', 't', 'a', '.', 0x58, 0x02, 0, 0}, false, true},
      {{'J', 'w', 's'}, false, false},
  };
  TJwsData s;
  TJwwData w;
  int i = 0;
  for (const Case& c : cases) {
    const auto p = dir.path() / ("f" + std::to_string(i++));
    WriteBytes(p, c.bytes);
    EXPECT_EQ(s.FileCheck(FromFsPath(p)), c.jws) << i;
    EXPECT_EQ(w.FileCheck(FromFsPath(p)), c.jww) << i;
  }
  // A header that ends right after Mx2 is not whole.
  WriteBytes(dir.path() / "short", JwsHeaderBytes(600, 444));
  EXPECT_FALSE(s.FileHeaderIn(dir.file("short")));
  WriteBytes(dir.path() / "whole", JwsHeaderBytes(600, 452));
  EXPECT_TRUE(s.FileHeaderIn(dir.file("whole")));
  EXPECT_EQ(s.EntLgrp.size(), 16u);
  EXPECT_EQ(s.EntLgrp[5].anGLay, 2);
  EXPECT_EQ(s.EntLineN, 0);
}

TEST(Jws, WriteAdjustsTheGenerationAndKeepsTheHeader) {
  struct Case {
    int ask, written;
  } cases[] = {{600, 600}, {420, 420}, {351, 351}, {300, 351}, {220, 230}};
  for (const Case& c : cases) {
    TJwsData src;
    testing::SampleShape(src, 700);
    TempDir dir;
    ASSERT_TRUE(src.FileOut(dir.file("s.jws"), c.ask));
    auto bytes = testing::ReadFileBytes(dir.file("s.jws"));
    for (std::size_t k = 7; k < 200; ++k) ASSERT_EQ(bytes[k], 0x2E);
    TJwsData back;
    InStream in(bytes);
    const bool ok = back.FileIn(in);
    EXPECT_TRUE(ok) << c.ask;
    EXPECT_EQ(in.remaining(), 0u);
    EXPECT_EQ(back.Enthd.jwVer, c.written);
    EXPECT_EQ(back.Enthd.BasePoint_x, 12.5);
    EXPECT_EQ(back.Enthd.dmy03, 7);
    EXPECT_EQ(back.Enthd.My2, -4);
    EXPECT_EQ(back.EntLgrp[3].adScale, 50);
    EXPECT_EQ(back.EntMojiN, src.EntMojiN);
    if (c.written >= 420) {
      EXPECT_EQ(back.Enthd.n1, src.Enthd.n1);
    } else if (c.written >= 351) {
      EXPECT_EQ(back.Enthd.n1, src.Enthd.n1 + 6);  // one SXF dimension in the main list
    }
  }
}

TEST(Jws, EveryCorpusShapeReadsAndConverts) {
  const auto dir = testing::CorpusDir();
  if (dir.empty()) GTEST_SKIP() << "../shared/corpus is absent";
  TempDir out;
  int seen = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
    std::string ext = e.path().extension().string();
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext != ".jws") continue;
    ++seen;
    SCOPED_TRACE(e.path().string());
    TJwsData s;
    ASSERT_TRUE(s.FileCheck(FromFsPath(e.path())));
    InStream in(FromFsPath(e.path()));
    ASSERT_TRUE(s.FileIn(in));
    EXPECT_EQ(in.remaining(), 0u);
    for (int ver : {600, 420, 351, 300}) {
      const int written = TJwsData::AdjustedVersion(ver);
      ASSERT_TRUE(s.FileOut(out.file("x.jws"), ver));
      TJwsData back;
      ASSERT_TRUE(back.FileIn(out.file("x.jws"))) << ver;
      EXPECT_EQ(back.Enthd.jwVer, written);
      SCOPED_TRACE(ver);
      testing::ExpectCounts(back, back.Enthd.n1, testing::Predict(s, s.Enthd.jwVer, written));
    }
  }
  EXPECT_EQ(seen, 214);
}

}  // namespace
}  // namespace plandown
