// Start-up choice of platform: DVDUTIL_MACHINE names an emulated machine file.
#include "platform/startup_platform.h"

#include <cstdlib>

#include "emulator/emulated_machine.h"
#include "platform/linux/linux_platform.h"

namespace platform {

std::unique_ptr<Platform> OpenStartupPlatform(std::string* error) {
  const char* machine = std::getenv(kMachineEnvironmentVariable);
  if (machine != nullptr && *machine != '\0') {
    return emu::EmulatedMachine::LoadFile(machine, emu::MachineOptions{}, error);
  }
  return CreateLinuxPlatform();
}

}  // namespace platform
