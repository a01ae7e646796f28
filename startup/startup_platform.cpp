// Start-up choice of platform: DVDUTIL_MACHINE names an emulated machine file.
#include "startup/startup_platform.h"

#include <cstdlib>
#include <string>

#include "emulator/emulated_machine.h"
#include "startup/host_system.h"

namespace startup {

std::unique_ptr<platform::Platform> OpenStartupPlatform(
    std::string* error, const platform::DiagnosticSink& diagnostics) {
  const char* machine = std::getenv(kMachineEnvironmentVariable);
  if (machine != nullptr && *machine != '\0') {
    std::string loadError;
    emu::MachineOptions options;
    // The machine's programs are this system's: started for real, found beside this one.
    options.processes = [](platform::Kernel& kernel) { return HostProcessService(kernel); };
    auto platform = emu::EmulatedMachine::LoadFile(machine, options, &loadError);
    if (!platform && error != nullptr) {
      // The user has to know which file to mend, whatever the loader said.
      *error =
          loadError.find(machine) == std::string::npos
              ? std::string(machine) + ": " + (loadError.empty() ? "cannot be loaded" : loadError)
              : loadError;
    }
    return platform;
  }
  return OpenHostPlatform(error, diagnostics);
}

}  // namespace startup
