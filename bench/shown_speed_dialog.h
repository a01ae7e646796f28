// A speed utility dialog shown on the emulated demo machine (offscreen, fake
// clock, nothing written back), for the window benchmarks.
#pragma once

#include <memory>
#include <string>

#include "emulator/emulated_machine.h"
#include "pace/window/speed_program.h"
#include "ui/qt_window_system.h"

namespace bench {

struct ShownSpeedDialog {
  std::unique_ptr<emu::EmulatedMachine> machine;
  ui::QtWindowSystem windows;
  std::unique_ptr<pace::SpeedProgram> program;  // declared last: it runs on the two above
};

// Loads the demo machine and shows the variant's dialog with its drive list.
// False with a reason in `error` when either step fails.
bool ShowSpeedDialog(const pace::SpeedWindowVariant& variant, ShownSpeedDialog& shown,
                     std::string& error);

}  // namespace bench
