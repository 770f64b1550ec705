// Folder search: the files (never folders) of one folder that match a wildcard mask.
#pragma once
#include <cstdint>
#include <vector>

#include "util/ustring.h"

namespace plandown {

struct TFileField {
  String name;        // file name without folder
  std::int32_t size;  // low 32 bits of the size
  String date;        // last write, local time, "yyyy/mm/dd"
  String time;        // "hh:nn:ss"
  bool dirf;          // always false
};

// Process-wide result of the last SearchFiles.
extern std::vector<TFileField> FoundFiles;
extern std::int32_t FoundCount;

void ClearFoundFiles();
// folder ends with a separator; mask is a wildcard such as "*.jww" (matched without
// regard to case, as on the platform the drawings come from).
void SearchFiles(std::u16string_view folder, std::u16string_view mask);
// The same search returned as a list, leaving the process-wide result alone.
std::vector<TFileField> SearchFolder(std::u16string_view folder, std::u16string_view mask);

// Whether a file name matches a wildcard mask: "*" any run of units, "?" one unit (or none
// at the end of the mask), letters without regard to case, and a mask ending in ".*" also
// takes names without that dot, so "*.*" takes every name.
bool MaskMatches(std::u16string_view name, std::u16string_view mask);

}  // namespace plandown
