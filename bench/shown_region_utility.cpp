// zonespti's window on the demo machine (offscreen, fake clock, nothing written back).
#include "bench/shown_region_utility.h"

#include <QCoreApplication>

#include "bench/shown_updater.h"

namespace bench {

bool ShowRegionUtility(ShownRegionUtility& shown, std::string& error) {
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  shown.program.reset();
  shown.machine = emu::EmulatedMachine::LoadText(DemoMachineText(), "demo.json", options, &error);
  if (shown.machine == nullptr) return false;
  shown.windows.Messages().SetScripted(true);
  zone::SetUpRegionWindows(shown.windows);
  shown.program = std::make_unique<zone::RegionProgram>(shown.windows, *shown.machine);
  if (shown.program->Start() != 0) {
    error = "start-up failed";
    return false;
  }
  QCoreApplication::processEvents();
  return true;
}

}  // namespace bench
