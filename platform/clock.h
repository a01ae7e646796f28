// Multimedia timer service and the sleep that waits use between clock reads.
#pragma once

#include "platform/win_types.h"

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Uint timeBeginPeriod(Uint period) = 0;  // kTimerrNoError or kTimerrNoCanDo
  virtual Uint timeEndPeriod(Uint period) = 0;
  virtual Dword timeGetTime() = 0;  // milliseconds
  // Gives the processor away for about this long (Sleep). A fake clock advances.
  virtual void Sleep(Dword milliseconds) = 0;
};

}  // namespace platform
