// LinuxKernel: events, global memory, last error, texts and system report.
#include "platform/linux/linux_kernel.h"

#include <unistd.h>

#include <chrono>
#include <new>

#include "platform/linux/system_report.h"
#include "platform/system_messages.h"
#include "platform/win_errors.h"

namespace platform {

namespace {

// Like the kernel's, the last error belongs to the calling thread.
thread_local Dword tLastError = kErrorSuccess;

// Kernel handles start away from 0 and from small integers that look like
// descriptors, and step by 4 as Windows handles do.
constexpr Handle kFirstKernelHandle = 0x1000;
constexpr Handle kHandleStep = 4;
constexpr Dword kDefaultPageSize = 4096;

}  // namespace

struct LinuxKernel::Event {
  std::mutex mutex;
  std::condition_variable signalled;
  bool manualReset = false;
  bool state = false;
};

struct LinuxKernel::MemoryBlock {
  std::unique_ptr<Byte[]> bytes;
  int lockCount = 0;
};

LinuxKernel::LinuxKernel() : nextHandle_(kFirstKernelHandle) {}
LinuxKernel::~LinuxKernel() = default;

Dword LinuxKernel::GetLastError() { return tLastError; }
void LinuxKernel::SetLastError(Dword code) { tLastError = code; }

Handle LinuxKernel::NextHandle() {
  const Handle handle = nextHandle_;
  nextHandle_ += kHandleStep;
  return handle;
}

std::shared_ptr<LinuxKernel::Event> LinuxKernel::FindEvent(Handle event) {
  std::lock_guard lock(mutex_);
  const auto it = events_.find(event);
  return it == events_.end() ? nullptr : it->second;
}

Handle LinuxKernel::CreateEventA(Bool manualReset, Bool initialState) {
  auto event = std::make_shared<Event>();
  event->manualReset = manualReset != kFalse;
  event->state = initialState != kFalse;
  std::lock_guard lock(mutex_);
  const Handle handle = NextHandle();
  events_.emplace(handle, std::move(event));
  return handle;
}

Bool LinuxKernel::SetEvent(Handle handle) {
  const auto event = FindEvent(handle);
  if (!event) {
    SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  {
    std::lock_guard lock(event->mutex);
    event->state = true;
  }
  // A manual-reset event releases every waiter, an auto-reset one a single one.
  if (event->manualReset) {
    event->signalled.notify_all();
  } else {
    event->signalled.notify_one();
  }
  return kTrue;
}

Dword LinuxKernel::WaitForSingleObject(Handle handle, Dword milliseconds) {
  // The shared pointer keeps the event alive if another thread closes it meanwhile.
  const auto event = FindEvent(handle);
  if (!event) {
    SetLastError(kErrorInvalidHandle);
    return kWaitFailed;
  }
  std::unique_lock lock(event->mutex);
  const auto isSignalled = [&] { return event->state; };
  if (milliseconds == kInfinite) {
    event->signalled.wait(lock, isSignalled);
  } else if (!event->signalled.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                        isSignalled)) {
    return kWaitTimeout;
  }
  if (!event->manualReset) event->state = false;
  return kWaitObject0;
}

Bool LinuxKernel::CloseHandle(Handle handle) {
  std::lock_guard lock(mutex_);
  if (events_.erase(handle) == 0) {
    SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  return kTrue;
}

Handle LinuxKernel::GlobalAlloc(Uint /*flags*/, std::size_t bytes) {
  // Every block is fixed and zero-filled, which is what the programs ask for.
  auto block = std::make_unique<MemoryBlock>();
  block->bytes.reset(new (std::nothrow) Byte[bytes == 0 ? 1 : bytes]());
  if (!block->bytes) {
    SetLastError(kErrorNotEnoughMemory);
    return kNullHandle;
  }
  std::lock_guard lock(mutex_);
  const Handle handle = NextHandle();
  memory_.emplace(handle, std::move(block));
  return handle;
}

void* LinuxKernel::GlobalLock(Handle memory) {
  std::lock_guard lock(mutex_);
  const auto it = memory_.find(memory);
  if (it == memory_.end()) {
    SetLastError(kErrorInvalidHandle);
    return nullptr;
  }
  ++it->second->lockCount;
  return it->second->bytes.get();
}

Bool LinuxKernel::GlobalUnlock(Handle memory) {
  std::lock_guard lock(mutex_);
  const auto it = memory_.find(memory);
  if (it == memory_.end()) {
    SetLastError(kErrorInvalidHandle);
    return kFalse;
  }
  // Non-zero while still locked; zero with ERROR_SUCCESS once unlocked.
  if (it->second->lockCount > 0) --it->second->lockCount;
  if (it->second->lockCount > 0) return kTrue;
  SetLastError(kErrorSuccess);
  return kFalse;
}

Handle LinuxKernel::GlobalFree(Handle memory) {
  std::lock_guard lock(mutex_);
  if (memory_.erase(memory) == 0) {
    SetLastError(kErrorInvalidHandle);
    return memory;
  }
  return kNullHandle;
}

Dword LinuxKernel::FormatMessageA(Dword flags, const void* /*source*/, Dword messageId,
                                  Dword /*languageId*/, char* buffer, Dword size) {
  if ((flags & kFormatMessageFromSystem) == 0) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  Dword error = kErrorSuccess;
  const Dword length = FormatSystemMessage(messageId, buffer, size, &error);
  if (length == 0) SetLastError(error);
  return length;
}

void LinuxKernel::GetSystemInfo(SystemInfo* info) {
  if (info == nullptr) return;
  *info = SystemInfo{};
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  const long processors = ::sysconf(_SC_NPROCESSORS_ONLN);
  info->dwPageSize = pageSize > 0 ? static_cast<Dword>(pageSize) : kDefaultPageSize;
  info->dwNumberOfProcessors = processors > 0 ? static_cast<Dword>(processors) : 1;
  FillProcessorInfo(RunningMachine(), RunningCpuInfo(), info);
}

Bool LinuxKernel::GetVersionExA(OsVersionInfoA* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OsVersionInfoA)) {
    SetLastError(kErrorInsufficientBuffer);
    return kFalse;
  }
  FillVersionInfo(RunningKernelRelease(), info);
  return kTrue;
}

}  // namespace platform
