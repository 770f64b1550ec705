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

std::string CountsMismatch(const TJwEntityDoc& b, std::int32_t backN1, const PredictedCounts& w) {
  std::string out;
  auto compare = [&](const char* name, std::int32_t got, std::int32_t want) {
    if (got != want) out += std::string(out.empty() ? "" : ", ") + name + " " + std::to_string(got) + "/" + std::to_string(want);
  };
  compare("objects", backN1, w.objects);
  compare("lines", b.EntLineN, w.line);
  compare("arcs", b.EntEnkoN, w.enko);
  compare("points", b.EntTenN, w.ten);
  compare("texts", b.EntMojiN, w.moji);
  compare("dimensions", b.EntSunpoN, w.sunpo);
  compare("solids", b.EntSolidN, w.solid);
  compare("inserts", b.EntBlockN, w.block);
  compare("definitions", b.EntBlockDefN, w.definitions);
  return out;
}

void ExpectCounts(const TJwEntityDoc& b, std::int32_t backN1, const PredictedCounts& w) {
  EXPECT_EQ(CountsMismatch(b, backN1, w), "") << "read/predicted";
}

}  // namespace plandown::testing
