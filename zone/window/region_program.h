// zonespti from start-up to exit on any window system: the utility with its
// transport, RegionWindow opened from template 102 and run until it closes,
// the transport stopped at the end.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "ui/host/window_system.h"
#include "zone/region_utility.h"
#include "zone/window/region_window.h"

namespace zone {

// The program icon (128) as pixels.
ui::IconImage ZoneIconImage();

// The application title and icon every zonespti window and box carries.
void SetUpRegionWindows(ui::WindowSystem& windows);

class RegionProgram {
 public:
  RegionProgram(ui::WindowSystem& windows, platform::Platform& system, PushedLook* look = nullptr);
  ~RegionProgram();
  RegionProgram(const RegionProgram&) = delete;
  RegionProgram& operator=(const RegionProgram&) = delete;

  // StartTransport, then the window opened and initialised: 0, or the
  // StartTransport result after "Memory Allocation Error" was shown (no
  // window then).
  int Start();
  // Runs the open window until it closes, then stops the transport.
  void Run();
  void Stop();

  RegionWindow& Window() { return window_; }
  RegionUtility& Utility() { return utility_; }
  // The open window; null when Start failed or was not called.
  ui::OpenWindow* Open() { return open_.get(); }

 private:
  ui::WindowSystem& windows_;
  RegionWindow window_;
  RegionUtility utility_;                 // after the window: it talks to it
  std::unique_ptr<ui::OpenWindow> open_;  // goes first: it still calls the window
  bool started_ = false;
};

// zonespti on `system`; returns the process exit code.
int RunRegionProgram(ui::WindowSystem& windows, platform::Platform& system,
                     PushedLook* look = nullptr);

// The whole program: SetUpRegionWindows, the platform chosen at start-up (the
// emulated machine DVDUTIL_MACHINE names, or the real system), the utility.
int RunRegionProgram(ui::WindowSystem& windows, PushedLook* look = nullptr);

}  // namespace zone
