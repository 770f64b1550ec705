// Process-wide values of the down-conversion: the default colour and line type that
// replace numbers an older generation cannot keep, and the "%%" text substitution table.
// Set once at start-up, only read afterwards.
#pragma once
#include <cstdint>
#include <vector>

#include "util/ustring.h"

namespace plandown {

struct TStr2List {
  String s1;  // key
  String s2;  // replacement
};

extern std::int32_t DefaultPenColor;
extern std::int32_t DefaultPenStyle;

// Defaults to 1, substitution off and empty.
void ResetSubstitutionTable();
// While substitution is on, a text beginning "%%" that equals an entry's key becomes its
// replacement.
void SubstitutePercentText(String& s);

}  // namespace plandown
