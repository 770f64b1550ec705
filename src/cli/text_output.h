// Small formatting helpers shared by the commands' human-readable output.
#pragma once
#include <string>
#include <string_view>

#include "jww/versions.h"

namespace plandown::cli {

// UTF-8 of a text whose line breaks (CR LF, LF or CR) continue on new lines that start
// with `indent`.
std::string IndentedLines(std::u16string_view text, std::string_view indent);

// Columns the text takes on a terminal: two for each wide character of the East Asian
// scripts and of the full-width forms, one for any other.
std::size_t DisplayWidth(std::u16string_view text);

}  // namespace plandown::cli
