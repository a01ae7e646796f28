// toolgate from start-up to exit on any window system: the processor and
// version records captured once, LauncherWindow opened from template 102 and
// run until it closes (the program lives as long as its dialog).
#pragma once

#include "platform/platform.h"
#include "ui/host/window_system.h"

namespace launcher {

// The application title and icon every toolgate window and box carries.
void SetUpLauncherWindows(ui::WindowSystem& windows);

// The launcher on `system`; returns the process exit code.
int RunLauncherProgram(ui::WindowSystem& windows, platform::Platform& system);

// The whole program: SetUpLauncherWindows, the platform chosen at start-up (the
// emulated machine DVDUTIL_MACHINE names, or the real system), the launcher.
int RunLauncherProgram(ui::WindowSystem& windows);

}  // namespace launcher
