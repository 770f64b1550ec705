// The graphics code's own table, for programs linked with it and for the module.
#pragma once
#include "util/graphics_module.h"

namespace plandown::graphics {

const GraphicsEntries* LinkedGraphicsEntries();

}  // namespace plandown::graphics
