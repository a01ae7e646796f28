// The system-information component of the emulated machine, with the values
// and the failures the machine file gives it.
#pragma once

#include <memory>

#include "emulator/machine_description.h"
#include "platform/system_info_component.h"

namespace emu {

class EmulatedSystemInfoFactory : public platform::SystemInfoComponentFactory {
 public:
  explicit EmulatedSystemInfoFactory(const ComponentValues& values) : values_(values) {}
  std::unique_ptr<platform::SystemInfoComponent> CreateSystemInfoComponent() override;

 private:
  const ComponentValues values_;
};

}  // namespace emu
