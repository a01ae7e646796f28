// The host system on Windows: no settings of its own, nothing to diagnose
// beyond the system's error codes.
#include "platform/windows/windows_platform.h"
#include "platform/windows/windows_processes.h"
#include "startup/host_system.h"

namespace startup {

std::unique_ptr<platform::Platform> OpenHostPlatform(
    std::string* /*error*/, const platform::DiagnosticSink& /*diagnostics*/) {
  return platform::CreateWindowsPlatform();
}

std::unique_ptr<platform::ProcessService> HostProcessService(platform::Kernel& kernel) {
  return std::make_unique<platform::WindowsProcessService>(kernel);
}

}  // namespace startup
