// JSON text for the command line's machine-readable output.
#pragma once
#include <string>
#include <string_view>

namespace plandown::cli {

// A JSON string literal (quotes included) of UTF-16 text, as UTF-8.
std::string JsonString(std::u16string_view text);

}  // namespace plandown::cli
