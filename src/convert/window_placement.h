// Where a window opens whose position and size come from the settings file: the saved
// place when the window can be seen and moved there, a visible place otherwise (a display
// removed since, a resolution lowered, a damaged file).
#pragma once
#include <vector>

namespace plandown {

struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The part of the window's top edge that must show on a display so that the user can
// still grab the title bar.
inline constexpr int kGrabWidth = 48;
inline constexpr int kGrabHeight = 16;

// `saved` is the outer rectangle; `minWidth` and `minHeight` the least the window needs
// to show its contents; `workAreas` the usable areas of the displays, the primary one
// first; `defaultOffset` the default position relative to the primary area. The size is
// raised to the minimum. A window whose top strip shows kGrabWidth x kGrabHeight pixels
// on an area stays where it is; any other moves to the default position on the primary
// area, shifted back inside it where the size would overhang. The size is then lowered to
// that area's size where larger (never below the minimum). Without areas the saved
// rectangle is kept (with its minimum size).
ScreenRect VisibleWindowRect(ScreenRect saved, int minWidth, int minHeight, const std::vector<ScreenRect>& workAreas,
                             int defaultOffset);

}  // namespace plandown
