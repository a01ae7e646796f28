// Process start on Linux: posix_spawn without a shell, the program found
// along ProgramSearch, and the process's end signalled on its kernel handles
// by a helper thread that sleeps in waitid (no SIGCHLD handler, no polling).
#pragma once

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/kernel.h"
#include "platform/linux/program_search.h"
#include "platform/process.h"

namespace platform {

class LinuxProcessService : public ProcessService {
 public:
  LinuxProcessService(Kernel& kernel, ProgramSearch search);
  // Processes still running are left to run; their handles are no longer signalled.
  ~LinuxProcessService() override;
  LinuxProcessService(const LinuxProcessService&) = delete;
  LinuxProcessService& operator=(const LinuxProcessService&) = delete;

  void GetStartupInfoA(StartupInfoA* info) override;
  Bool CreateProcessA(const char* applicationName, char* commandLine,
                      SecurityAttributes* processAttributes, SecurityAttributes* threadAttributes,
                      Bool inheritHandles, Dword creationFlags, void* environment,
                      const char* currentDirectory, StartupInfoA* startupInfo,
                      ProcessInformation* processInformation) override;

 private:
  struct ExitLink;
  struct Watch;

  Bool Fail(Dword error);
  void WatchExit(int pid, Handle process, Handle thread);
  void JoinEndedWatches();

  Kernel& kernel_;
  const ProgramSearch search_;
  std::shared_ptr<ExitLink> link_;
  std::mutex watchesMutex_;
  std::vector<Watch> watches_;
};

// The Win32 code for a failed program start (posix_spawn's errno).
Dword Win32ErrorFromSpawn(int error);

}  // namespace platform
