// Opening the platform for a windowed program.
#include "startup/window_startup.h"

#include <string>

#include "drvcmd/notice.h"
#include "startup/startup_platform.h"

namespace startup {

std::unique_ptr<platform::Platform> OpenPlatformForWindows(ui::WindowSystem& windows) {
  std::string error;
  std::unique_ptr<platform::Platform> system = OpenStartupPlatform(&error);
  if (system == nullptr) {
    windows.MessageBox(error.empty() ? std::string("The platform could not be opened.") : error,
                       std::string(), drvcmd::kMbIconHand);
  }
  return system;
}

}  // namespace startup
