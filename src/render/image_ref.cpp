#include "render/image_ref.h"

#include <cmath>

#include "render/geometry.h"
#include "util/text.h"

namespace plandown::render {

namespace {
constexpr std::u16string_view kMarker = u"^@BM";
constexpr std::u16string_view kBoundMarker = u"^@BM%temp%";
}  // namespace

std::optional<ImageRef> ParseImageText(std::u16string_view s) {
  if (!s.starts_with(kMarker)) return std::nullopt;
  ImageRef r;
  r.bound = s.starts_with(kBoundMarker);
  s.remove_prefix(r.bound ? kBoundMarker.size() : kMarker.size());
  const std::size_t comma = s.find(u',');
  r.name = String(s.substr(0, comma));
  if (comma == std::u16string_view::npos) return r;
  std::u16string_view rest = s.substr(comma + 1);
  const std::size_t second = rest.find(u',');
  const double w = TextToFloat(rest.substr(0, second));
  const double h = second == std::u16string_view::npos ? 0 : TextToFloat(rest.substr(second + 1, rest.find(u',', second + 1) - second - 1));
  if (Usable(w) && Usable(h) && w > 0 && h > 0) {
    r.width = w;
    r.height = h;
  }
  return r;
}

}  // namespace plandown::render
