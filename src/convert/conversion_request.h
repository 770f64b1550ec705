// One file to convert: where it comes from, where it goes, where the former destination
// is kept.
#pragma once
#include "util/ustring.h"

namespace plandown {

struct ConversionRequest {
  String source;
  String destination;
  String backup;  // empty: BackupPathFor(destination)
  // Where bound images are extracted while the drawing is converted (with a trailing
  // separator). Empty: a private folder made for this one conversion.
  String imageFolder;
};

}  // namespace plandown
