// The machine's process start. Programs run on the host, started by the
// service the machine was given (the real one when a program opens the
// machine at start-up); they inherit the environment, so they open the same
// machine. Their handles are the machine kernel's, and only the program's end
// sets them, so waits on them take real time even with the fake clock. A
// machine given no service has no programs: every start fails with
// ERROR_FILE_NOT_FOUND.
#pragma once

#include <memory>

#include "emulator/emulated_kernel.h"
#include "platform/process.h"

namespace emu {

class EmulatedProcesses : public platform::ProcessService {
 public:
  EmulatedProcesses(EmulatedKernel& kernel, std::unique_ptr<platform::ProcessService> host);

  void GetStartupInfoA(platform::StartupInfoA* info) override;
  platform::Bool CreateProcessA(const char* applicationName, char* commandLine,
                                platform::SecurityAttributes* processAttributes,
                                platform::SecurityAttributes* threadAttributes,
                                platform::Bool inheritHandles, platform::Dword creationFlags,
                                void* environment, const char* currentDirectory,
                                platform::StartupInfoA* startupInfo,
                                platform::ProcessInformation* processInformation) override;

 private:
  EmulatedKernel& kernel_;
  std::unique_ptr<platform::ProcessService> host_;
};

}  // namespace emu
