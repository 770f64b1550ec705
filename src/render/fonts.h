// Font families for a text: the drawing's own font first, then Japanese families a
// system may have in its place (Gothic or Mincho after the drawing font's kind), then
// the generic family. Outputs use the first they have (or list them all, in SVG).
#pragma once
#include <string_view>
#include <vector>

namespace plandown::render {

// `out` is replaced; its views refer to `drawingFont` and to static texts.
void FontFamilies(std::u16string_view drawingFont, std::vector<std::u16string_view>& out);

}  // namespace plandown::render
