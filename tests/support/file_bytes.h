// Files of given bytes inside a test's scratch folder.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"
#include "util/ustring.h"

namespace plandown::testing {

// The path text of `name` inside the folder (names may hold any characters).
String PathIn(const TempDir& dir, std::u16string_view name);
// Writes (or replaces) the file `name` inside the folder; returns its path text.
String WriteFileBytes(const TempDir& dir, std::u16string_view name, const std::vector<std::uint8_t>& bytes);
String WriteFileBytes(const TempDir& dir, std::u16string_view name, std::string_view bytes);

}  // namespace plandown::testing
