// What the Qt host adds to a speed utility window beyond its logic: the
// extraction label as wide as its text, a status box that shows both lines of
// a message, and list entries shown from their first character.
#pragma once

#include "pace/window/speed_window_variant.h"
#include "ui/host/window_system.h"

namespace pace {

// `window` is a window the Qt window system opened.
void DecorateSpeedWindow(ui::OpenWindow& window, const SpeedWindowVariant& variant);

}  // namespace pace
