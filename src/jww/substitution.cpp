#include "jww/substitution.h"

#include <algorithm>

namespace plandown {

std::int32_t DefaultPenColor = 1;
std::int32_t DefaultPenStyle = 1;

namespace {
std::int32_t gSubstitutionEnabled = 0;
std::int32_t gSubstitutionCount = 0;
std::vector<TStr2List> gSubstitutionTable;
}  // namespace

void ResetSubstitutionTable() {
  DefaultPenColor = 1;
  DefaultPenStyle = 1;
  gSubstitutionEnabled = 0;
  gSubstitutionCount = 0;
  gSubstitutionTable.clear();
}

void SubstitutePercentText(String& s) {
  if (gSubstitutionEnabled != 1 || s.size() < 2 || s[0] != u'%' || s[1] != u'%') return;
  const std::int32_t n = std::min<std::int32_t>(gSubstitutionCount, static_cast<std::int32_t>(gSubstitutionTable.size()));
  for (std::int32_t i = 0; i < n; ++i)
    if (gSubstitutionTable[static_cast<std::size_t>(i)].s1 == s) {
      s = gSubstitutionTable[static_cast<std::size_t>(i)].s2;
      return;
    }
}

}  // namespace plandown
