// The multimedia timer on Windows (winmm) and Sleep.
#pragma once

#include "platform/clock.h"

namespace platform {

class WindowsClock : public Clock {
 public:
  Uint timeBeginPeriod(Uint period) override;
  Uint timeEndPeriod(Uint period) override;
  Dword timeGetTime() override;
  void Sleep(Dword milliseconds) override;
};

}  // namespace platform
