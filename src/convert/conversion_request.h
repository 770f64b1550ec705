// One file to convert: where it comes from, where it goes, where the former destination
// is kept.
#pragma once
#include "util/ustring.h"

namespace plandown {

struct ConversionRequest {
  String source;
  String destination;
  String backup;  // empty: BackupPathFor(destination)
};

}  // namespace plandown
