// WindowsProcessService.
#include "platform/windows/windows_processes.h"

#include <cstddef>

#include "platform/windows/win32.h"

namespace platform {

// The start-up and process records go to the system as they stand.
static_assert(sizeof(StartupInfoA) == sizeof(STARTUPINFOA));
static_assert(offsetof(StartupInfoA, dwFlags) == offsetof(STARTUPINFOA, dwFlags));
static_assert(offsetof(StartupInfoA, wShowWindow) == offsetof(STARTUPINFOA, wShowWindow));
static_assert(offsetof(StartupInfoA, hStdError) == offsetof(STARTUPINFOA, hStdError));
static_assert(sizeof(ProcessInformation) == sizeof(PROCESS_INFORMATION));
static_assert(offsetof(ProcessInformation, dwThreadId) ==
              offsetof(PROCESS_INFORMATION, dwThreadId));
static_assert(sizeof(SecurityAttributes) == sizeof(SECURITY_ATTRIBUTES));
static_assert(kCreateDefaultErrorMode == CREATE_DEFAULT_ERROR_MODE);

WindowsProcessService::WindowsProcessService() = default;

WindowsProcessService::WindowsProcessService(Kernel& kernel)
    : kernel_(&kernel), stop_(FromSystemHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr))) {}

WindowsProcessService::~WindowsProcessService() {
  if (stop_ == kNullHandle) return;
  ::SetEvent(ToSystemHandle(stop_));
  for (std::thread& watcher : watchers_) watcher.join();
  ::CloseHandle(ToSystemHandle(stop_));
}

void WindowsProcessService::GetStartupInfoA(StartupInfoA* info) {
  ::GetStartupInfoA(reinterpret_cast<STARTUPINFOA*>(info));
}

Bool WindowsProcessService::CreateProcessA(const char* applicationName, char* commandLine,
                                           SecurityAttributes* processAttributes,
                                           SecurityAttributes* threadAttributes,
                                           Bool inheritHandles, Dword creationFlags,
                                           void* environment, const char* currentDirectory,
                                           StartupInfoA* startupInfo,
                                           ProcessInformation* processInformation) {
  PROCESS_INFORMATION started{};
  if (!::CreateProcessA(
          applicationName, commandLine, reinterpret_cast<SECURITY_ATTRIBUTES*>(processAttributes),
          reinterpret_cast<SECURITY_ATTRIBUTES*>(threadAttributes), inheritHandles, creationFlags,
          environment, currentDirectory, reinterpret_cast<STARTUPINFOA*>(startupInfo), &started)) {
    return kFalse;
  }
  processInformation->dwProcessId = started.dwProcessId;
  processInformation->dwThreadId = started.dwThreadId;
  if (kernel_ == nullptr) {
    processInformation->hProcess = FromSystemHandle(started.hProcess);
    processInformation->hThread = FromSystemHandle(started.hThread);
    return kTrue;
  }
  const Handle process = kernel_->CreateEventA(kTrue, kFalse);
  const Handle thread = process != kNullHandle ? kernel_->CreateEventA(kTrue, kFalse) : kNullHandle;
  if (thread == kNullHandle || stop_ == kNullHandle) {
    // The program runs, but cannot be waited for: say so rather than hang.
    if (process != kNullHandle) kernel_->CloseHandle(process);
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return kFalse;
  }
  processInformation->hProcess = process;
  processInformation->hThread = thread;
  ::CloseHandle(started.hThread);
  Kernel* kernel = kernel_;
  const HANDLE stop = ToSystemHandle(stop_);
  const std::lock_guard<std::mutex> lock(watchersMutex_);
  watchers_.emplace_back([kernel, stop, system = started.hProcess, process, thread] {
    const HANDLE waits[] = {system, stop};
    if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
      kernel->SetEvent(thread);
      kernel->SetEvent(process);
    }
    ::CloseHandle(system);
  });
  return kTrue;
}

}  // namespace platform
