// toolgate start-up, written once for every window system.
#include "launcher/window/launcher_program.h"

#include <memory>
#include <string>

#include "launcher/launcher.h"
#include "launcher/window/launcher_window.h"
#include "launcher/window/xpm_icon.h"
#include "resources/launcher/launcher_dialogs.h"
#include "resources/launcher/launcher_icon.h"
#include "resources/launcher/launcher_strings.h"
#include "startup/window_startup.h"

namespace launcher {
namespace {

constexpr unsigned kMbIconHand = 0x00000010u;

}  // namespace

void SetUpLauncherWindows(ui::WindowSystem& windows) {
  windows.SetApplicationTitle(resources::kLauncherApplicationTitle);
  windows.SetApplicationIcon(IconImageFromXpm(resources::LauncherIconXpm()));
}

int RunLauncherProgram(ui::WindowSystem& windows, platform::Platform& system) {
  Launcher launcher(system);
  launcher.CaptureSystem();
  LauncherWindow logic(launcher, windows);
  const std::unique_ptr<ui::OpenWindow> window =
      windows.Open(resources::LauncherDialogTemplate(), logic);
  windows.RunUntilClosed(*window);
  return 0;
}

int RunLauncherProgram(ui::WindowSystem& windows) {
  SetUpLauncherWindows(windows);
  std::unique_ptr<platform::Platform> system = startup::OpenPlatformForWindows(windows);
  if (system == nullptr) return 1;
  return RunLauncherProgram(windows, *system);
}

}  // namespace launcher
