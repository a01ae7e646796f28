// The host system on Linux.
#include "platform/linux/linux_platform.h"
#include "platform/linux/linux_processes.h"
#include "startup/host_system.h"

namespace startup {

std::unique_ptr<platform::Platform> OpenHostPlatform(std::string* error,
                                                     const platform::DiagnosticSink& diagnostics) {
  return platform::CreateLinuxPlatform(error, diagnostics);
}

std::unique_ptr<platform::ProcessService> HostProcessService(platform::Kernel& kernel) {
  return std::make_unique<platform::LinuxProcessService>(kernel,
                                                         platform::ProgramSearch::Running());
}

}  // namespace startup
