// The system-information component on Linux: the NT platform and the kernel's
// version (major.minor as a number) and patch level as build.
#pragma once

#include <string>

#include "platform/system_info_component.h"

namespace platform {

// 6.1 for major 6, minor 1; 5.15 for 5, 15 (the minor's digits after the point).
float KernelVersionNumber(Dword major, Dword minor);

class LinuxSystemInfoComponentFactory : public SystemInfoComponentFactory {
 public:
  // The release text to report ("6.1.0-18-amd64"); the running kernel's when empty.
  explicit LinuxSystemInfoComponentFactory(std::string release = {});
  std::unique_ptr<SystemInfoComponent> CreateSystemInfoComponent() override;

 private:
  std::string release_;
};

}  // namespace platform
