// Kernel services on Linux: per-thread last error, events on a mutex and
// condition variable, zeroed global memory, message texts, system report.
#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/kernel.h"

namespace platform {

class LinuxKernel : public Kernel {
 public:
  LinuxKernel();
  ~LinuxKernel() override;

  Dword GetLastError() override;
  void SetLastError(Dword code) override;

  Handle CreateEventA(Bool manualReset, Bool initialState) override;
  Bool SetEvent(Handle event) override;
  Dword WaitForSingleObject(Handle event, Dword milliseconds) override;
  Bool CloseHandle(Handle event) override;

  Handle GlobalAlloc(Uint flags, std::size_t bytes) override;
  void* GlobalLock(Handle memory) override;
  Bool GlobalUnlock(Handle memory) override;
  Handle GlobalFree(Handle memory) override;

  Dword FormatMessageA(Dword flags, const void* source, Dword messageId, Dword languageId,
                       char* buffer, Dword size) override;

  void GetSystemInfo(SystemInfo* info) override;
  Bool GetVersionExA(OsVersionInfoA* info) override;

 private:
  struct Event;
  struct MemoryBlock;

  std::shared_ptr<Event> FindEvent(Handle event);
  Handle NextHandle();

  std::mutex mutex_;  // guards the handle tables
  Handle nextHandle_;
  std::map<Handle, std::shared_ptr<Event>> events_;
  std::map<Handle, std::unique_ptr<MemoryBlock>> memory_;
};

}  // namespace platform
