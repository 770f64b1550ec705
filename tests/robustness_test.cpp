// The robustness checks that the fuzz targets run (support/robustness.h), here on the
// inputs the fuzzing starts from and on those inputs damaged in the simple ways a file is
// damaged: cut short anywhere, or a byte overwritten anywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/plan_drawing.h"
#include "support/robustness.h"
#include "support/seed_inputs.h"

namespace plandown {
namespace {

using testing::InputBytes;
using testing::SeedInput;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

struct Target {
  const char* name;
  std::string (*check)(InputBytes, const TempDir&);
  std::vector<SeedInput> (*seeds)();
};

const Target kTargets[] = {
    {"drawing read", testing::CheckJwwRead, testing::DrawingSeeds},
    {"shape read", testing::CheckJwsRead, testing::ShapeSeeds},
    {"drawing round trip", testing::CheckRoundTrip, testing::DrawingSeeds},
    {"shape round trip", testing::CheckRoundTrip, testing::ShapeSeeds},
    {"DOS headers", testing::CheckDosHeaders, testing::DosSeeds},
    {"gzip", testing::CheckGzip, testing::GzipSeeds},
    {"settings file", testing::CheckSettingsFile, testing::SettingsSeeds},
    {"text helpers", testing::CheckTextHelpers, testing::TextSeeds},
};

// Cuts at 16 lengths spread over the input, and three byte values written at 16 offsets.
std::vector<std::pair<std::string, Bytes>> Damaged(const Bytes& b) {
  constexpr std::size_t kSpots = 16;
  std::vector<std::pair<std::string, Bytes>> out;
  for (std::size_t k = 0; k < kSpots; ++k) {
    const std::size_t at = b.size() * k / kSpots;
    out.emplace_back("cut at " + std::to_string(at), Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(at)));
    if (at >= b.size()) continue;
    for (std::uint8_t v : {0x00, 0x7F, 0xFF}) {
      Bytes changed = b;
      changed[at] = v;
      out.emplace_back("byte " + std::to_string(at) + " set to " + std::to_string(v), std::move(changed));
    }
  }
  return out;
}

TEST(Robustness, BuiltInputsKeepEveryPromise) {
  TempDir scratch;
  for (const Target& t : kTargets)
    for (const SeedInput& s : t.seeds()) {
      ASSERT_FALSE(s.bytes.empty()) << s.name;
      EXPECT_EQ(t.check(s.bytes, scratch), "") << t.name << ": " << s.name;
    }
}

TEST(Robustness, DamagedInputsKeepEveryPromise) {
  TempDir scratch;
  for (const Target& t : kTargets)
    for (const SeedInput& s : t.seeds())
      for (const auto& [how, bytes] : Damaged(s.bytes))
        EXPECT_EQ(t.check(bytes, scratch), "") << t.name << ": " << s.name << ", " << how;
}

// A drawing whose print word, found by the writer at `version`, is replaced by `word`.
Bytes WithPrintWord(int version, std::int32_t word) {
  TJwwData d;
  testing::PlanDrawing(d, version);
  d.Enthd.nPrtDispOnlyNonDraw = 3;
  d.Enthd.nPrtDpi = 12345;
  Bytes b = testing::WriteToBytes(d, version);
  const std::uint8_t mark[] = {0x3D, 0xE2, 0x01, 0x00};  // 123453
  const auto at = std::search(b.begin(), b.end(), std::begin(mark), std::end(mark));
  EXPECT_NE(at, b.end());
  if (at != b.end())
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(word) >> (8 * i));
  return b;
}

// The sample drawing at 6.00 with the count before the first object of class `name` made
// 0xFFFFFFFF (the escape 0xFFFF and four bytes).
Bytes WithHugeCountBefore(std::string_view name) {
  TJwwData d;
  testing::SampleDrawing(d);
  Bytes b = testing::WriteToBytes(d, 600);
  const auto at = std::search(b.begin(), b.end(), name.begin(), name.end());
  EXPECT_NE(at, b.end());
  // Before the name: the new-class tag 0xFFFF, the schema and the name length; before
  // those, the two-byte count.
  const auto count = at - 8;
  b.erase(count, count + 2);
  const std::uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  b.insert(at - 8, std::begin(huge), std::end(huge));
  return b;
}

TEST(Robustness, InputsThatOnceBrokeAPromise) {
  const struct {
    const char* name;
    std::string (*check)(InputBytes, const TempDir&);
    Bytes bytes;
  } cases[] = {
      // A negative print word gives a negative print flag, which the word written at 6.00
      // turned into another flag and dpi on the way back.
      {"negative print word", testing::CheckJwwRoundTrip, WithPrintWord(600, -54931)},
      // Counts beyond the signed range became negative in the document, and the writer
      // then wrote none of the objects or definitions that had been read.
      {"main count beyond the signed range", testing::CheckJwwRoundTrip, WithHugeCountBefore("CDataSen")},
      {"definition count beyond the signed range", testing::CheckJwwRoundTrip, WithHugeCountBefore("CDataList")},
  };
  TempDir scratch;
  for (const auto& c : cases) EXPECT_EQ(c.check(c.bytes, scratch), "") << c.name;
}

}  // namespace
}  // namespace plandown
