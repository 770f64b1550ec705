// Image texts as the renderer reads them: "^@BM" (or "^@BM%temp%" for an image bound in
// the drawing), the image's name up to the first comma, then its width and height in
// drawing units. The text's base line start is the image's lower-left corner and its
// angle the image's.
#pragma once
#include <optional>
#include <string_view>

#include "util/ustring.h"

namespace plandown::render {

struct ImageRef {
  String name;         // as the text gives it (a path or a plain name)
  bool bound = false;  // "%temp%": the image travels inside the drawing
  double width = 0;    // 0 when the text gives no usable size
  double height = 0;
};

// The image a text shows, or nothing for an ordinary text.
std::optional<ImageRef> ParseImageText(std::u16string_view text);

}  // namespace plandown::render
