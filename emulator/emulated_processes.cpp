// EmulatedProcesses: the host's process start with the machine's handles.
#include "emulator/emulated_processes.h"

#include "platform/win_errors.h"

namespace emu {

EmulatedProcesses::EmulatedProcesses(EmulatedKernel& kernel,
                                     std::unique_ptr<platform::ProcessService> host)
    : kernel_(kernel), host_(std::move(host)) {}

void EmulatedProcesses::GetStartupInfoA(platform::StartupInfoA* info) {
  if (host_) {
    host_->GetStartupInfoA(info);
  } else if (info != nullptr) {
    *info = platform::StartupInfoA{};
  }
}

platform::Bool EmulatedProcesses::CreateProcessA(
    const char* applicationName, char* commandLine, platform::SecurityAttributes* processAttributes,
    platform::SecurityAttributes* threadAttributes, platform::Bool inheritHandles,
    platform::Dword creationFlags, void* environment, const char* currentDirectory,
    platform::StartupInfoA* startupInfo, platform::ProcessInformation* processInformation) {
  if (!host_) {
    kernel_.SetLastError(platform::kErrorFileNotFound);
    return platform::kFalse;
  }
  const platform::Bool created = host_->CreateProcessA(
      applicationName, commandLine, processAttributes, threadAttributes, inheritHandles,
      creationFlags, environment, currentDirectory, startupInfo, processInformation);
  if (created != platform::kFalse) {
    kernel_.MarkSignalledElsewhere(processInformation->hProcess);
    kernel_.MarkSignalledElsewhere(processInformation->hThread);
  }
  return created;
}

}  // namespace emu
