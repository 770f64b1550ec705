// What the writer's rules predict for the main list of a document written at a generation.
#pragma once
#include <cstdint>
#include <string>

#include "jww/entity_doc.h"

namespace plandown::testing {

struct PredictedCounts {
  std::int32_t line = 0, enko = 0, ten = 0, moji = 0, sunpo = 0, solid = 0, block = 0;
  std::int32_t objects = 0;      // the written object count of the main list
  std::int32_t definitions = 0;  // referenced definitions
};

PredictedCounts Predict(const TJwEntityDoc& doc, int srcVer, int ver);

// What was read back against the prediction: empty when they agree, else each count that
// differs as "name read/predicted".
std::string CountsMismatch(const TJwEntityDoc& back, std::int32_t backN1, const PredictedCounts& want);

// The same as a gtest expectation.
void ExpectCounts(const TJwEntityDoc& back, std::int32_t backN1, const PredictedCounts& want);

}  // namespace plandown::testing
