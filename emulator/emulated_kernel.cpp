// Kernel services of the emulated machine.
#include "emulator/emulated_kernel.h"

#include <algorithm>

#include "platform/system_messages.h"
#include "platform/win_errors.h"

namespace emu {

namespace {
// Larger requests fail like an exhausted heap instead of taking the host's memory.
constexpr std::size_t kMaxBlockSize = 256u * 1024u * 1024u;
}  // namespace

EmulatedKernel::EmulatedKernel(HandleAllocator& handles, MachineClock& clock,
                               PendingCompletions& completions, CommandLog& log,
                               const PlatformReport& report, std::uint32_t failAllocation)
    : handles_(handles),
      clock_(clock),
      completions_(completions),
      log_(log),
      report_(report),
      failAllocation_(failAllocation) {}

platform::Dword EmulatedKernel::GetLastError() {
  std::lock_guard lock(mutex_);
  return lastError_;
}

void EmulatedKernel::SetLastError(platform::Dword code) {
  std::lock_guard lock(mutex_);
  lastError_ = code;
}

platform::Handle EmulatedKernel::CreateEventA(platform::Bool manualReset,
                                              platform::Bool initialState) {
  const platform::Handle handle = handles_.Next();
  std::lock_guard lock(mutex_);
  events_[handle] = Event{manualReset != platform::kFalse, initialState != platform::kFalse};
  return handle;
}

platform::Bool EmulatedKernel::SetEvent(platform::Handle event) {
  std::lock_guard lock(mutex_);
  const auto found = events_.find(event);
  if (found == events_.end()) {
    lastError_ = platform::kErrorInvalidHandle;
    return platform::kFalse;
  }
  found->second.signalled = true;
  signalled_.notify_all();
  return platform::kTrue;
}

bool EmulatedKernel::TakeSignal(Event& event) {
  if (!event.signalled) return false;
  if (!event.manualReset) event.signalled = false;
  return true;
}

std::optional<platform::Dword> EmulatedKernel::SettledWait(platform::Handle handle) {
  const auto found = events_.find(handle);
  if (found == events_.end()) {
    lastError_ = platform::kErrorInvalidHandle;
    return platform::kWaitFailed;
  }
  if (TakeSignal(found->second)) return platform::kWaitObject0;
  return std::nullopt;
}

void EmulatedKernel::RecordWait(platform::Handle event, platform::Dword milliseconds) {
  std::size_t logId = 0;
  {
    std::lock_guard lock(mutex_);
    const auto found = eventLogIds_.find(event);
    if (found == eventLogIds_.end()) return;
    logId = found->second;
  }
  if (LoggedCommand* entry = log_.Find(logId)) {
    entry->waited = true;
    entry->waitMilliseconds = milliseconds;
  }
}

platform::Dword EmulatedKernel::WaitForSingleObject(platform::Handle event,
                                                    platform::Dword milliseconds) {
  RecordWait(event, milliseconds);
  completions_.RunDue(clock_.Now());
  std::unique_lock lock(mutex_);
  if (const auto settled = SettledWait(event)) return *settled;
  return clock_.IsFake() && !outsideEvents_.contains(event) ? WaitFake(lock, event, milliseconds)
                                                            : WaitReal(lock, event, milliseconds);
}

platform::Dword EmulatedKernel::WaitFake(std::unique_lock<std::mutex>& lock,
                                         platform::Handle handle, platform::Dword milliseconds) {
  const std::uint64_t start = clock_.Now();
  const bool infinite = milliseconds == platform::kInfinite;
  const std::uint64_t deadline = start + milliseconds;
  for (;;) {
    if (const auto settled = SettledWait(handle)) return *settled;
    const auto due = completions_.DueFor(handle);
    if (due && (infinite || *due <= deadline)) {
      // Virtual time jumps to the completion, which signals the event.
      lock.unlock();
      clock_.AdvanceTo(*due);
      completions_.RunDue(clock_.Now());
      lock.lock();
      continue;
    }
    if (infinite) {
      // Nothing will ever signal it: a real machine would hang here for ever.
      lastError_ = platform::kErrorInvalidFunction;
      return platform::kWaitFailed;
    }
    lock.unlock();
    clock_.AdvanceTo(deadline);
    completions_.RunDue(clock_.Now());
    lock.lock();
    const auto found = events_.find(handle);
    if (found != events_.end() && TakeSignal(found->second)) return platform::kWaitObject0;
    return platform::kWaitTimeout;
  }
}

platform::Dword EmulatedKernel::WaitReal(std::unique_lock<std::mutex>& lock,
                                         platform::Handle handle, platform::Dword milliseconds) {
  using SteadyClock = std::chrono::steady_clock;
  const bool infinite = milliseconds == platform::kInfinite;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    if (const auto settled = SettledWait(handle)) return *settled;
    const auto due = completions_.DueFor(handle);
    if (due && clock_.Now() >= *due) {
      lock.unlock();
      completions_.RunDue(clock_.Now());
      lock.lock();
      continue;
    }
    if (!infinite && SteadyClock::now() >= deadline) return platform::kWaitTimeout;
    if (due) {
      auto wake = clock_.RealInstant(*due);
      if (!infinite) wake = std::min(wake, deadline);
      signalled_.wait_until(lock, wake);
    } else if (infinite) {
      signalled_.wait(lock);
    } else {
      signalled_.wait_until(lock, deadline);
    }
  }
}

platform::Bool EmulatedKernel::CloseHandle(platform::Handle event) {
  {
    std::lock_guard lock(mutex_);
    if (events_.erase(event) == 0) {
      lastError_ = platform::kErrorInvalidHandle;
      return platform::kFalse;
    }
    eventLogIds_.erase(event);
    outsideEvents_.erase(event);
  }
  // A request whose event is gone has been given up by the program.
  completions_.ForgetEvent(event);
  return platform::kTrue;
}

platform::Handle EmulatedKernel::GlobalAlloc(platform::Uint /*flags*/, std::size_t bytes) {
  std::lock_guard lock(mutex_);
  ++allocationCalls_;
  if (allocationCalls_ == failAllocation_ || bytes > kMaxBlockSize) {
    lastError_ = platform::kErrorNotEnoughMemory;
    return platform::kNullHandle;
  }
  const platform::Handle handle = handles_.Next();
  // Always zeroed: GMEM_ZEROINIT or not, fresh memory never carries old data.
  memory_[handle].bytes.assign(std::max<std::size_t>(bytes, 1), 0);
  return handle;
}

void* EmulatedKernel::GlobalLock(platform::Handle memory) {
  std::lock_guard lock(mutex_);
  const auto found = memory_.find(memory);
  if (found == memory_.end()) {
    lastError_ = platform::kErrorInvalidHandle;
    return nullptr;
  }
  ++found->second.locks;
  return found->second.bytes.data();
}

platform::Bool EmulatedKernel::GlobalUnlock(platform::Handle memory) {
  std::lock_guard lock(mutex_);
  const auto found = memory_.find(memory);
  if (found == memory_.end()) {
    lastError_ = platform::kErrorInvalidHandle;
    return platform::kFalse;
  }
  if (found->second.locks > 0) --found->second.locks;
  if (found->second.locks > 0) return platform::kTrue;
  lastError_ = platform::kErrorSuccess;  // unlocked: FALSE with NO_ERROR, as on Windows
  return platform::kFalse;
}

platform::Handle EmulatedKernel::GlobalFree(platform::Handle memory) {
  std::vector<std::uint8_t> freed;
  {
    std::lock_guard lock(mutex_);
    const auto found = memory_.find(memory);
    if (found == memory_.end()) {
      lastError_ = platform::kErrorInvalidHandle;
      return memory;
    }
    freed = std::move(found->second.bytes);
    memory_.erase(found);
  }
  // A pending request block inside the freed memory must never be written.
  completions_.ForgetMemory(freed.data(), freed.size());
  return platform::kNullHandle;
}

platform::Dword EmulatedKernel::FormatMessageA(platform::Dword flags, const void* /*source*/,
                                               platform::Dword messageId,
                                               platform::Dword /*languageId*/, char* buffer,
                                               platform::Dword size) {
  std::lock_guard lock(mutex_);
  if ((flags & platform::kFormatMessageFromSystem) == 0) {
    lastError_ = platform::kErrorInvalidParameter;
    return 0;
  }
  return platform::FormatSystemMessage(messageId, buffer, size, &lastError_);
}

void EmulatedKernel::GetSystemInfo(platform::SystemInfo* info) {
  if (info != nullptr) *info = report_.system;
}

platform::Bool EmulatedKernel::GetVersionExA(platform::OsVersionInfoA* info) {
  std::lock_guard lock(mutex_);
  if (info == nullptr) {
    lastError_ = platform::kErrorInvalidParameter;
    return platform::kFalse;
  }
  if (info->dwOSVersionInfoSize != sizeof(platform::OsVersionInfoA)) {
    lastError_ = platform::kErrorInsufficientBuffer;
    return platform::kFalse;
  }
  *info = report_.version;
  info->dwOSVersionInfoSize = sizeof(platform::OsVersionInfoA);
  return platform::kTrue;
}

void EmulatedKernel::LinkEventToLogEntry(platform::Handle event, std::size_t logId) {
  std::lock_guard lock(mutex_);
  eventLogIds_[event] = logId;
}

void EmulatedKernel::MarkSignalledElsewhere(platform::Handle event) {
  std::lock_guard lock(mutex_);
  if (events_.contains(event)) outsideEvents_.insert(event);
}

bool EmulatedKernel::IsEvent(platform::Handle event) {
  std::lock_guard lock(mutex_);
  return events_.count(event) != 0;
}

std::size_t EmulatedKernel::LiveMemoryBlocks() {
  std::lock_guard lock(mutex_);
  return memory_.size();
}

}  // namespace emu
