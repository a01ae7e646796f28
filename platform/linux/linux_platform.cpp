// Placeholder until the Linux services land.
#include "platform/linux/linux_platform.h"

namespace platform {
std::unique_ptr<Platform> CreateLinuxPlatform() { return nullptr; }
}  // namespace platform
