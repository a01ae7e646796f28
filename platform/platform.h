// The bundle of operating-system services a program runs on: either the real
// system or an emulated machine, chosen once at start-up.
#pragma once

#include "platform/aspi.h"
#include "platform/clock.h"
#include "platform/kernel.h"
#include "platform/pass_through.h"
#include "platform/system_info_component.h"

namespace platform {

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Kernel& Kernel32() = 0;
  virtual PassThroughService& PassThrough() = 0;
  virtual AspiManager& Aspi() = 0;
  virtual Clock& Timer() = 0;
  virtual SystemInfoComponentFactory& SystemInfoComponents() = 0;
};

}  // namespace platform
