// Builds drawings in memory for tests and benchmarks; the project's own writer turns them
// into files of any generation.
#pragma once
#include <cstdint>

#include "jws/jws_data.h"
#include "jww/jww_data.h"

namespace plandown::testing {

TEntJwwAttr Attr(std::uint8_t style, std::uint16_t color, std::uint16_t width = 1, std::uint16_t layer = 0,
                 std::uint16_t group = 0);

// Appends entities to one list (the main list or a definition's members).
class ListBuilder {
 public:
  explicit ListBuilder(EntityListRef list) : l_(list) {}
  void Add(const TEntJwwLine& e);
  void Add(const TEntJwwEnko& e);
  void Add(const TEntJwwTen& e);
  void Add(const TEntJwwMoji& e);
  void Add(const TEntJwwSunpo& e);
  void Add(const TEntJwwSolid& e);
  void Add(const TEntJwwBlock& e);

 private:
  EntityListRef l_;
};

TEntJwwLine Line(double x1, double y1, double x2, double y2, TEntJwwAttr a = Attr(1, 1));
TEntJwwMoji Text(const String& s, TEntJwwAttr a = Attr(1, 2));
TEntJwwBlock Insert(std::uint32_t number, double x = 0, double y = 0);
TEntJwwSunpo Dimension(bool sxf);
TEntJwwBlockDef& AddDefinition(TJwEntityDoc& doc, std::uint32_t number, const String& name);

// Header tables sized and filled with plausible values; n1/n2 and the block tree made
// consistent with the lists.
void InitTables(TJwwData& d);
void Finish(TJwwData& d);

// A drawing that holds every kind, nested definitions, SXF dimensions, Japanese text and
// an unreferenced definition. Values are ones every writer keeps unchanged.
void SampleDrawing(TJwwData& d);

// A shape of generation srcVer holding the sample drawing's lists, with header values
// told apart by their values.
void SampleShape(TJwsData& s, int srcVer);

// A large drawing of about `objects` entities of every kind.
void SyntheticDrawing(TJwwData& d, std::size_t objects);

// A large drawing of `objects` entities, an eighth each: lines with standard colours,
// lines with SXF line types and colours, circles, tilted elliptic arcs, points, texts whose
// strings all differ and hold Japanese, solids, and inserts of three small definitions.
void DistinctTextDrawing(TJwwData& d, std::size_t objects);

// File bytes of a document written at `ver`.
std::vector<std::uint8_t> WriteToBytes(TJwwData& d, int ver);
std::vector<std::uint8_t> ReadFileBytes(const String& path);

}  // namespace plandown::testing
