// The demo machine and a speed utility dialog shown on it.
#include "bench/shown_speed_dialog.h"

#include <QCoreApplication>

#include "bench/shown_updater.h"

namespace bench {

bool ShowSpeedDialog(const pace::SpeedWindowVariant& variant, ShownSpeedDialog& shown,
                     std::string& error) {
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  shown.program.reset();
  shown.machine = emu::EmulatedMachine::LoadText(DemoMachineText(), "demo.json", options, &error);
  if (shown.machine == nullptr) return false;
  shown.windows.SetScripted(true);
  shown.program = std::make_unique<pace::SpeedProgram>(shown.windows, *shown.machine, variant);
  if (shown.program->Start() != 0) {
    error = "start-up failed";
    return false;
  }
  QCoreApplication::processEvents();
  return true;
}

}  // namespace bench
