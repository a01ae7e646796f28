// The machine's kernel services: last error, events and waits on the machine
// clock, global memory with injectable failure, message texts, and the version
// and processor report of the machine file.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "emulator/command_log.h"
#include "emulator/handle_allocator.h"
#include "emulator/machine_clock.h"
#include "emulator/machine_description.h"
#include "emulator/pending_completions.h"
#include "platform/kernel.h"

namespace emu {

class EmulatedKernel : public platform::Kernel {
 public:
  EmulatedKernel(HandleAllocator& handles, MachineClock& clock, PendingCompletions& completions,
                 CommandLog& log, const PlatformReport& report, std::uint32_t failAllocation);

  platform::Dword GetLastError() override;
  void SetLastError(platform::Dword code) override;

  platform::Handle CreateEventA(platform::Bool manualReset, platform::Bool initialState) override;
  platform::Bool SetEvent(platform::Handle event) override;
  platform::Dword WaitForSingleObject(platform::Handle event,
                                      platform::Dword milliseconds) override;
  platform::Bool CloseHandle(platform::Handle event) override;

  platform::Handle GlobalAlloc(platform::Uint flags, std::size_t bytes) override;
  void* GlobalLock(platform::Handle memory) override;
  platform::Bool GlobalUnlock(platform::Handle memory) override;
  platform::Handle GlobalFree(platform::Handle memory) override;

  platform::Dword FormatMessageA(platform::Dword flags, const void* source,
                                 platform::Dword messageId, platform::Dword languageId,
                                 char* buffer, platform::Dword size) override;

  void GetSystemInfo(platform::SystemInfo* info) override;
  platform::Bool GetVersionExA(platform::OsVersionInfoA* info) override;

  // The wait a program makes on a request's event is recorded in its log entry.
  void LinkEventToLogEntry(platform::Handle event, std::size_t logId);
  bool IsEvent(platform::Handle event);
  // An event that only something outside the machine sets (a started
  // program's end): waits on it take real time even with the fake clock.
  void MarkSignalledElsewhere(platform::Handle event);
  std::size_t LiveMemoryBlocks();

 private:
  struct Event {
    bool manualReset = false;
    bool signalled = false;
  };
  struct MemoryBlock {
    std::vector<std::uint8_t> bytes;
    int locks = 0;
  };

  // With the lock held: consumes the signal of a signalled event.
  bool TakeSignal(Event& event);
  // With the lock held: WAIT_FAILED for an event that is gone, WAIT_OBJECT_0 for
  // one whose signal this wait takes; nothing while the wait must go on.
  std::optional<platform::Dword> SettledWait(platform::Handle handle);
  platform::Dword WaitFake(std::unique_lock<std::mutex>& lock, platform::Handle handle,
                           platform::Dword milliseconds);
  platform::Dword WaitReal(std::unique_lock<std::mutex>& lock, platform::Handle handle,
                           platform::Dword milliseconds);
  void RecordWait(platform::Handle event, platform::Dword milliseconds);

  HandleAllocator& handles_;
  MachineClock& clock_;
  PendingCompletions& completions_;
  CommandLog& log_;
  const PlatformReport report_;
  const std::uint32_t failAllocation_;

  std::mutex mutex_;
  std::condition_variable signalled_;
  platform::Dword lastError_ = 0;
  std::map<platform::Handle, Event> events_;
  std::map<platform::Handle, std::size_t> eventLogIds_;
  std::set<platform::Handle> outsideEvents_;
  std::map<platform::Handle, MemoryBlock> memory_;
  std::uint32_t allocationCalls_ = 0;
};

}  // namespace emu
