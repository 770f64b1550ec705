// Small well-formed inputs for every robustness check, built with the project's own
// writer: the fuzz targets start from them and the regression tests damage them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace plandown::testing {

struct SeedInput {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

// Drawings of every generation (a sample with every kind, a plan, an empty and a larger
// one) and a 7.00 drawing with bound images, one of them compressed.
std::vector<SeedInput> DrawingSeeds();
// The sample shape written at every generation.
std::vector<SeedInput> ShapeSeeds();
// JWC and JWK headers with numeric fields, one cut short.
std::vector<SeedInput> DosSeeds();
// gzip streams: repetitive, varied and empty content.
std::vector<SeedInput> GzipSeeds();
// Settings files: defaults, folders with Japanese names, a short file with mixed line ends.
std::vector<SeedInput> SettingsSeeds();
// UTF-16 texts: numbers, memos, hex folder texts and image texts.
std::vector<SeedInput> TextSeeds();

}  // namespace plandown::testing
