// Icon 128 of the speed utilities on the Win32 host: the disc with its speed
// needle that the Qt program draws with QPainter, drawn here as pixels.
#pragma once

#include "ui/host/window_system.h"

namespace pace {

ui::IconImage SpeedIconPixels(int size);

}  // namespace pace
