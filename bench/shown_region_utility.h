// zonespti's window shown on the emulated demo machine, for the window benchmarks.
#pragma once

#include <memory>
#include <string>

#include "emulator/emulated_machine.h"
#include "zone/app/region_app.h"

namespace bench {

struct ShownRegionUtility {
  std::unique_ptr<emu::EmulatedMachine> machine;
  std::unique_ptr<zone::RegionApp> app;
};

// Loads the demo machine and shows RegionDialog with its drive list and the
// first drive's query. False with a reason in `error` when either step fails.
bool ShowRegionUtility(ShownRegionUtility& shown, std::string& error);

}  // namespace bench
