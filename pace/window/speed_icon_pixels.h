// Icon 128 of the speed utilities, the program's large and small icon on
// every window host: a disc with a speed needle, as pixels.
#pragma once

#include "ui/host/window_system.h"

namespace pace {

ui::IconImage SpeedIconPixels(int size);

}  // namespace pace
