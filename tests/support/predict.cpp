#include "support/predict.h"

#include <gtest/gtest.h>

namespace plandown::testing {

PredictedCounts Predict(const TJwEntityDoc& doc, int srcVer, int ver) {
  PredictedCounts c;
  const EntityListRef l = MainList(doc);
  for (const TEntJwwNo& no : doc.EntNo) {
    if (no.EntType < 1 || no.EntType > 7 || no.EntNo < 0 || no.EntNo >= l.CountOf(no.EntType)) continue;
    ++c.objects;
    switch (no.EntType) {
      case kKindLine: ++c.line; break;
      case kKindEnko: ++c.enko; break;
      case kKindTen: ++c.ten; break;
      case kKindMoji: ++c.moji; break;
      case kKindSunpo:
        ++c.sunpo;
        if (ver < 420 && srcVer >= 420 && doc.EntSunpo[static_cast<std::size_t>(no.EntNo)].bSxfMode != 0) {
          c.line += 2;
          c.ten += 4;
          c.objects += 6;
        }
        break;
      case kKindSolid: ++c.solid; break;
      case kKindBlock: ++c.block; break;
    }
  }
  c.definitions = doc.EntBlockNum;
  return c;
}

void ExpectCounts(const TJwEntityDoc& b, std::int32_t backN1, const PredictedCounts& w) {
  EXPECT_EQ(backN1, w.objects);
  EXPECT_EQ(b.EntLineN, w.line);
  EXPECT_EQ(b.EntEnkoN, w.enko);
  EXPECT_EQ(b.EntTenN, w.ten);
  EXPECT_EQ(b.EntMojiN, w.moji);
  EXPECT_EQ(b.EntSunpoN, w.sunpo);
  EXPECT_EQ(b.EntSolidN, w.solid);
  EXPECT_EQ(b.EntBlockN, w.block);
  EXPECT_EQ(b.EntBlockDefN, w.definitions);
}

}  // namespace plandown::testing
