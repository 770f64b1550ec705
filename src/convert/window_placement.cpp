#include "convert/window_placement.h"

#include <algorithm>

namespace plandown {

namespace {

int Overlap(int a0, int a1, int b0, int b1) { return std::max(0, std::min(a1, b1) - std::max(a0, b0)); }

bool TopStripShows(const ScreenRect& r, const ScreenRect& area) {
  const int stripHeight = std::min(r.height, kGrabHeight * 2);
  return Overlap(r.x, r.x + r.width, area.x, area.x + area.width) >= kGrabWidth &&
         Overlap(r.y, r.y + stripHeight, area.y, area.y + area.height) >= kGrabHeight;
}

}  // namespace

ScreenRect VisibleWindowRect(ScreenRect saved, int minWidth, int minHeight, const std::vector<ScreenRect>& workAreas,
                             int defaultOffset) {
  ScreenRect r = saved;
  r.width = std::max(r.width, minWidth);
  r.height = std::max(r.height, minHeight);
  if (workAreas.empty()) return r;
  const auto fitTo = [&](const ScreenRect& area) {
    r.width = std::max(std::min(r.width, area.width), minWidth);
    r.height = std::max(std::min(r.height, area.height), minHeight);
  };
  for (const ScreenRect& area : workAreas) {
    if (!TopStripShows(r, area)) continue;
    fitTo(area);
    return r;
  }
  const ScreenRect& primary = workAreas.front();
  fitTo(primary);
  r.x = std::max(primary.x, std::min(primary.x + defaultOffset, primary.x + primary.width - r.width));
  r.y = std::max(primary.y, std::min(primary.y + defaultOffset, primary.y + primary.height - r.height));
  return r;
}

}  // namespace plandown
