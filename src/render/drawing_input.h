// What the renderer reads of a document: its entity lists and block tree, and the tables
// that decide visibility, colours, widths and line types. Drawings have all tables;
// shapes only their layer groups, and are drawn with the default pens.
#pragma once
#include <span>

#include "jww/entity_doc.h"
#include "jww/types.h"

namespace plandown {
class TJwwData;
class TJwsData;
}  // namespace plandown

namespace plandown::render {

struct DrawingInput {
  const TJwEntityDoc* doc = nullptr;
  std::span<const TEntJwwLayerGroup> groups;  // 16: anGLay 0 hides a group
  std::span<const TEntJwwLayer> layers;       // 256 (group × 16 + layer): aanLay 0 hides a layer
  std::span<const TEntJwwColorNo> pens;       // 10: screen colours and widths of colours 1..9
  std::span<const TEntJwwLineTypeNo> lineTypes;   // 8: patterns of line types 2..9
  std::span<const TEntJwwLineTypeNo> lineTypes3;  // 4: patterns of line types 16..19
  std::span<const TEntJwwColorExNo> sxfColors;    // 257: SXF colours 101..356 are rows 1..256
  std::span<const TEntJwwLineTypeExNo> sxfLineTypes;  // 33: SXF line types 31..62 are rows 1..32
};

DrawingInput InputOf(const TJwwData& d);
DrawingInput InputOf(const TJwsData& s);

}  // namespace plandown::render
