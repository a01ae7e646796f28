// Handle values shared by the machine's services, so that an event, a memory
// block, a module and a drive never share a value.
#pragma once

#include <atomic>

#include "platform/win_types.h"

namespace emu {

class HandleAllocator {
 public:
  platform::Handle Next() { return next_.fetch_add(kStep); }

 private:
  // Kernel handles are multiples of 4 and never 0 or INVALID_HANDLE_VALUE.
  static constexpr platform::Handle kStep = 4;
  std::atomic<platform::Handle> next_{0x1000};
};

}  // namespace emu
