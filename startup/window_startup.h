// The platform a windowed program runs on, for either window system: when it
// cannot be opened, the reason is shown in a message box with the stop icon.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "ui/host/window_system.h"

namespace startup {

// The platform, or nothing once the reason has been shown.
std::unique_ptr<platform::Platform> OpenPlatformForWindows(ui::WindowSystem& windows);

}  // namespace startup
