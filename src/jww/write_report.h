// What a write changed to make a document fit its target generation. The writer fills it
// while it writes; it never changes what is written.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace plandown {

struct WriteReport {
  std::uint64_t colorsMapped = 0;        // SXF colours written as ordinary colours
  std::uint64_t colorsDefaulted = 0;     // user-defined SXF or out-of-range colours written as the default
  std::uint64_t lineTypesMapped = 0;     // SXF line types written as ordinary types
  std::uint64_t lineTypesDefaulted = 0;  // line types written as the default
  std::uint64_t valuesReplaced = 0;      // other out-of-range attribute values (styles, layers, widths)
  std::uint64_t dimensionsDecomposed = 0;
  std::uint64_t charsReplaced = 0;       // characters written as "?"
  std::uint64_t stringsCut = 0;          // strings shortened to fit the length field
  std::uint64_t definitionsDropped = 0;  // unreferenced block definitions left out
  std::uint64_t valuesClamped = 0;       // header, pen-table and text-size clamps
  std::uint64_t sxfRowsRepaired = 0;     // SXF table rows given a name or default pattern

  bool Empty() const { return *this == WriteReport{}; }
  // "name=value" pairs of the non-zero items, in a fixed order.
  std::vector<std::pair<std::string, std::uint64_t>> Items() const;
  friend bool operator==(const WriteReport&, const WriteReport&) = default;
};

}  // namespace plandown
