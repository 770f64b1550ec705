#include "jww/write_report.h"

namespace plandown {

std::vector<std::pair<std::string, std::uint64_t>> WriteReport::Items() const {
  const std::pair<const char*, std::uint64_t> all[] = {
      {"colours mapped", colorsMapped},
      {"colours defaulted", colorsDefaulted},
      {"line types mapped", lineTypesMapped},
      {"line types defaulted", lineTypesDefaulted},
      {"values replaced", valuesReplaced},
      {"dimensions decomposed", dimensionsDecomposed},
      {"characters written as ?", charsReplaced},
      {"strings cut", stringsCut},
      {"unreferenced blocks dropped", definitionsDropped},
      {"values clamped", valuesClamped},
      {"SXF rows repaired", sxfRowsRepaired},
  };
  std::vector<std::pair<std::string, std::uint64_t>> out;
  for (const auto& [name, v] : all)
    if (v) out.emplace_back(name, v);
  return out;
}

}  // namespace plandown
