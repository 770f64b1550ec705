// The one symbol the graphics module shows: its table.
#include "graphics/entries.h"

extern "C" __attribute__((visibility("default"))) const plandown::GraphicsEntries* plandown_graphics_entries() {
  return plandown::graphics::LinkedGraphicsEntries();
}
