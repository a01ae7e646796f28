// The system-information component read by the older updater's System Info
// command: three property reads, each returning an HRESULT.
#pragma once

#include <memory>

#include "platform/win_types.h"

namespace platform {

class SystemInfoComponent {
 public:
  virtual ~SystemInfoComponent() = default;
  virtual HResult get_OSBuildNumber(Short* build) = 0;   // slot 12
  virtual HResult get_OSPlatform(Short* platformId) = 0;  // slot 13
  virtual HResult get_OSVersion(float* version) = 0;      // slot 14
};

// CoCreateInstance + OleRun + QueryInterface in one: null when any step fails.
class SystemInfoComponentFactory {
 public:
  virtual ~SystemInfoComponentFactory() = default;
  virtual std::unique_ptr<SystemInfoComponent> CreateSystemInfoComponent() = 0;
};

}  // namespace platform
