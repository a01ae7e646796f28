// Millisecond clock of the firmware updaters: finest timer period, start time,
// reads, and the period ended again at the stop.
#pragma once

#include "platform/clock.h"

namespace drvcmd {

class DriveClock {
 public:
  explicit DriveClock(platform::Clock& timer) : timer_(timer) {}
  void StartClock();
  platform::Dword ReadClock();
  void StopClock();

  platform::Dword StartTime() const { return startTime_; }
  platform::Dword EndTime() const { return endTime_; }
  platform::Uint AcceptedPeriod() const { return period_; }  // 0 when none

 private:
  platform::Clock& timer_;
  platform::Uint period_ = 0;
  platform::Dword startTime_ = 0;
  platform::Dword now_ = 0;
  platform::Dword endTime_ = 0;
};

}  // namespace drvcmd
