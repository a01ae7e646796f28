// The speed utility as a Qt program: QApplication, the Qt window system and
// the Qt decorations around the shared start-up.
#pragma once

#include "pace/window/speed_window_variant.h"

namespace pace {

int RunQtSpeedProgram(int argc, char** argv, const SpeedWindowVariant& variant);

}  // namespace pace
