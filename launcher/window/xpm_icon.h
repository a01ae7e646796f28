// An icon given as XPM lines (one character per pixel, colours "#RRGGBB" or
// "None") as the pixels a window system takes.
#pragma once

#include <span>

#include "ui/host/window_system.h"

namespace launcher {

// An empty image (0 by 0) when the lines are not such an XPM.
ui::IconImage IconImageFromXpm(std::span<const char* const> lines);

}  // namespace launcher
