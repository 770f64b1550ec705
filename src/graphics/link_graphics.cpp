// Linked into a program that carries the graphics code itself: its table is the
// program's from the start, and no module is loaded.
#include "graphics/entries.h"

namespace {

const bool gRegistered = [] {
  plandown::UseGraphicsEntries(plandown::graphics::LinkedGraphicsEntries());
  return true;
}();

}  // namespace
