// Speed utility start-up and shut-down, written once for every window system.
#include "pace/window/speed_program.h"

#include <string>

#include "drvcmd/transport.h"
#include "pace/window/speed_icon_pixels.h"
#include "startup/window_startup.h"

namespace pace {

SpeedProgram::SpeedProgram(ui::WindowSystem& windows, platform::Platform& system,
                           const SpeedWindowVariant& variant)
    : windows_(windows),
      variant_(variant),
      logic_(variant, windows),
      control_(variant.procedure, system, logic_) {}

// The window goes first (it calls the logic), then the transport stops.
SpeedProgram::~SpeedProgram() = default;

int SpeedProgram::Start() {
  windows_.SetApplicationTitle(variant_.procedure.applicationTitle);
  const int startResult = control_.Start();
  if (SpeedControl::StartIsFatal(startResult)) {
    windows_.MessageBox(drvcmd::StartTransportMessage(startResult), std::string(), drvcmd::kMbOk);
    return startResult;
  }
  // The ASPI build goes on without a manager or adapters: its scan says so.
  logic_.AttachControl(&control_);
  window_ = windows_.Open(variant_.templates.speedDialog, logic_);
  return 0;
}

void SpeedProgram::Run() {
  windows_.RunUntilClosed(*window_);
  control_.Stop();
}

int RunSpeedProgram(ui::WindowSystem& windows, const SpeedWindowVariant& variant,
                    const SpeedWindowDecoration& decorate) {
  constexpr int kIconSize = 32;
  windows.SetApplicationTitle(variant.procedure.applicationTitle);  // for the platform's failure
  windows.SetApplicationIcon(SpeedIconPixels(kIconSize));
  std::unique_ptr<platform::Platform> system = startup::OpenPlatformForWindows(windows);
  if (system == nullptr) return 1;
  SpeedProgram program(windows, *system, variant);
  if (program.Start() != 0) return 1;
  if (decorate) decorate(program.Window());
  program.Run();
  return 0;
}

}  // namespace pace
