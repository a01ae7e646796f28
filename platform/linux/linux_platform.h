// The real system on Linux behind the platform seam.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace platform {

std::unique_ptr<Platform> CreateLinuxPlatform();

}  // namespace platform
