// Multimedia timer on Linux: a steady millisecond clock and nanosleep.
#pragma once

#include "platform/clock.h"

namespace platform {

class LinuxClock : public Clock {
 public:
  // The kernel's timers are already fine-grained: any period of 1 ms or more is accepted.
  Uint timeBeginPeriod(Uint period) override;
  Uint timeEndPeriod(Uint period) override;
  // Milliseconds of the steady clock, wrapping at 32 bits like the system's.
  Dword timeGetTime() override;
  void Sleep(Dword milliseconds) override;
};

}  // namespace platform
