// The real system on Windows behind the platform seam.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "platform/windows/device_calls.h"

namespace platform {

// deviceCalls: the drive calls; null means the system's.
std::unique_ptr<Platform> CreateWindowsPlatform(std::shared_ptr<DeviceCalls> deviceCalls = {});

}  // namespace platform
