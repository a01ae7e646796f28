// zonespti's window shown on the emulated demo machine, for the window benchmarks.
#pragma once

#include <memory>
#include <string>

#include "emulator/emulated_machine.h"
#include "ui/qt_window_system.h"
#include "zone/window/region_program.h"

namespace bench {

struct ShownRegionUtility {
  std::unique_ptr<emu::EmulatedMachine> machine;
  ui::QtWindowSystem windows;
  std::unique_ptr<zone::RegionProgram> program;
};

// Loads the demo machine and shows zonespti's window with its drive list and the
// first drive's query. False with a reason in `error` when either step fails.
bool ShowRegionUtility(ShownRegionUtility& shown, std::string& error);

}  // namespace bench
