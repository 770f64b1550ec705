// A small plan that every target generation keeps as it is: fixtures for the conversion
// and command-line tests and the bundled examples.
#pragma once
#include "jww/jww_data.h"
#include "util/ustring.h"

namespace plandown::testing {

// Four walls, an arc, a point, a Japanese text, a solid, a plain dimension and a block
// (a line and a text) inserted twice, under a two-line memo; read as `version`.
void PlanDrawing(TJwwData& d, int version);

// PlanDrawing written as `version`; false when the write failed.
bool WritePlan(const String& path, int version);

}  // namespace plandown::testing
