// What the Win32 host adds to a speed utility window beyond its logic: the
// extraction label made as wide as its text where the template, sized for the
// original fonts, is too narrow for the font the system substitutes (the Qt
// program does the same in pace/app).
#pragma once

#include "ui/host/window_system.h"

namespace pace {

// `window` is a window the Win32 window system opened.
void FitSpeedLabelToText(ui::OpenWindow& window);

}  // namespace pace
