// The layout of the program's JSON output (the command line's --json and the conversion
// report): records one a line, so that a report reads and compares line by line, and
// every value written by nlohmann/json.
#pragma once
#include <nlohmann/json.hpp>
#include <string>

namespace plandown {

// Keys keep the order in which they were added.
using Json = nlohmann::ordered_json;

// The value on one line: ", " between items, ": " after each key, text as UTF-8 (bytes
// that are not UTF-8 become U+FFFD).
std::string JsonLine(const Json& value);

// A whole document ending in a line break. An array at the top, and every array that is a
// member of an object at the top, holds one item a line; each member of an object at the
// top starts a line; everything deeper stays on the line of its item.
std::string JsonDocument(const Json& value);

}  // namespace plandown
