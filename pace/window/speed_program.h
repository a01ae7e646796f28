// SpeedProgram: one speed utility program from start-up to exit on any window
// system: the transport started, SpeedWindow opened from template 102 and
// run until it closes, the transport stopped.
#pragma once

#include <functional>
#include <memory>

#include "pace/speed_control.h"
#include "pace/window/speed_window.h"
#include "pace/window/speed_window_variant.h"
#include "platform/platform.h"
#include "ui/host/window_system.h"

namespace pace {

class SpeedProgram {
 public:
  SpeedProgram(ui::WindowSystem& windows, platform::Platform& system,
               const SpeedWindowVariant& variant);
  ~SpeedProgram();
  SpeedProgram(const SpeedProgram&) = delete;
  SpeedProgram& operator=(const SpeedProgram&) = delete;

  // Start-up up to the opened, initialised window (message boxes carry this
  // build's title from here on): 0, or StartTransport's
  // fatal result after "Memory Allocation Error" was shown (no window then).
  int Start();
  // Runs the window until it closes, then stops the transport.
  void Run();

  ui::OpenWindow& Window() { return *window_; }
  SpeedWindow& Logic() { return logic_; }
  SpeedControl& Control() { return control_; }

 private:
  ui::WindowSystem& windows_;
  const SpeedWindowVariant& variant_;
  SpeedWindow logic_;
  SpeedControl control_;
  std::unique_ptr<ui::OpenWindow> window_;  // declared last: it calls the logic
};

// What a host adds to the opened window before it runs (Qt: label widths...).
using SpeedWindowDecoration = std::function<void(ui::OpenWindow&)>;

// The whole program on `windows`: the platform chosen at start-up (the
// emulated machine DVDUTIL_MACHINE names, or the real system), SpeedProgram.
// Returns the process exit code.
int RunSpeedProgram(ui::WindowSystem& windows, const SpeedWindowVariant& variant,
                    const SpeedWindowDecoration& decorate = {});

}  // namespace pace
