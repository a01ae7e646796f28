// Process start on Windows: CreateProcessA itself. With the system's kernel the
// caller gets the system's process and thread handles; with another kernel (an
// emulated machine's) each started process gets two events of that kernel,
// set by a helper thread that waits for the process to end.
#pragma once

#include <mutex>
#include <thread>
#include <vector>

#include "platform/kernel.h"
#include "platform/process.h"

namespace platform {

class WindowsProcessService : public ProcessService {
 public:
  // The system's handles.
  WindowsProcessService();
  // Handles of `kernel`.
  explicit WindowsProcessService(Kernel& kernel);
  // Processes still running are left to run; their events are no longer set.
  ~WindowsProcessService() override;
  WindowsProcessService(const WindowsProcessService&) = delete;
  WindowsProcessService& operator=(const WindowsProcessService&) = delete;

  void GetStartupInfoA(StartupInfoA* info) override;
  Bool CreateProcessA(const char* applicationName, char* commandLine,
                      SecurityAttributes* processAttributes, SecurityAttributes* threadAttributes,
                      Bool inheritHandles, Dword creationFlags, void* environment,
                      const char* currentDirectory, StartupInfoA* startupInfo,
                      ProcessInformation* processInformation) override;

 private:
  Kernel* kernel_ = nullptr;
  Handle stop_ = kNullHandle;  // the system's event that ends the helper threads
  std::mutex watchersMutex_;
  std::vector<std::thread> watchers_;
};

}  // namespace platform
