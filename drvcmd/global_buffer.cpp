// Fixed, zero-filled, locked global memory blocks.
#include "drvcmd/global_buffer.h"

namespace drvcmd {

bool AllocateLockedBuffer(platform::Kernel& kernel, std::size_t size, platform::Handle& handle,
                          std::span<std::uint8_t>& view) {
  view = {};
  handle = kernel.GlobalAlloc(platform::kGmemFixed | platform::kGmemZeroInit, size);
  if (handle == platform::kNullHandle) return false;
  void* memory = kernel.GlobalLock(handle);
  if (memory == nullptr) return false;
  view = std::span<std::uint8_t>(static_cast<std::uint8_t*>(memory), size);
  return true;
}

void FreeLockedBuffer(platform::Kernel& kernel, platform::Handle& handle,
                      std::span<std::uint8_t>& view) {
  if (handle == platform::kNullHandle) return;
  kernel.GlobalUnlock(handle);
  kernel.GlobalFree(handle);
  handle = platform::kNullHandle;
  view = {};
}

}  // namespace drvcmd
