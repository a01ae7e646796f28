// The system-information component on Windows: the registered COM class,
// created in-process, run, and asked for its interface; its three property
// reads go through the interface's own table.
#pragma once

#include "platform/system_info_component.h"

namespace platform {

class WindowsSystemInfoComponentFactory : public SystemInfoComponentFactory {
 public:
  ~WindowsSystemInfoComponentFactory() override;  // CoUninitialize when we initialised
  std::unique_ptr<SystemInfoComponent> CreateSystemInfoComponent() override;

 private:
  bool initialised_ = false;
};

}  // namespace platform
