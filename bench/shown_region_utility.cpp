// RegionDialog on the demo machine (offscreen, fake clock, nothing written back).
#include "bench/shown_region_utility.h"

#include <QCoreApplication>

#include "bench/shown_updater.h"

namespace bench {

bool ShowRegionUtility(ShownRegionUtility& shown, std::string& error) {
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  shown.app.reset();
  shown.machine = emu::EmulatedMachine::LoadText(DemoMachineText(), "demo.json", options, &error);
  if (shown.machine == nullptr) return false;
  shown.app = std::make_unique<zone::RegionApp>(*shown.machine);
  shown.app->Messages().SetScripted(true);
  if (shown.app->Start() != 0) {
    error = "start-up failed";
    return false;
  }
  shown.app->Dialog().show();
  QCoreApplication::processEvents();
  return true;
}

}  // namespace bench
