// What the window benchmarks share: an updater shown on the emulated demo
// machine (offscreen, nothing written back), and a main that sets up Qt.
#pragma once

#include <memory>
#include <string>

#include "emulator/emulated_machine.h"
#include "flash/app/updater_app.h"

namespace bench {

struct ShownUpdater {
  std::unique_ptr<emu::EmulatedMachine> machine;
  std::unique_ptr<flash::UpdaterApp> app;
};

// The demo machine file's text.
std::string DemoMachineText();

// Loads the demo machine and shows the variant's window with its drive list.
// False with a reason in `error` when either step fails.
bool ShowUpdater(const flash::AppVariant& variant, bool fakeClock, ShownUpdater& shown,
                 std::string& error);

}  // namespace bench
