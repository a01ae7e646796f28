// The updaters' millisecond clock.
#include "drvcmd/drive_clock.h"

namespace drvcmd {

namespace {
constexpr platform::Uint kFinestPeriod = 1;
constexpr platform::Uint kCoarsestPeriod = 7;
}  // namespace

void DriveClock::StartClock() {
  period_ = 0;
  for (platform::Uint period = kFinestPeriod; period <= kCoarsestPeriod; ++period) {
    if (timer_.timeBeginPeriod(period) == platform::kTimerrNoError) {
      period_ = period;
      break;
    }
  }
  startTime_ = timer_.timeGetTime();
}

platform::Dword DriveClock::ReadClock() {
  now_ = timer_.timeGetTime();
  return now_;
}

void DriveClock::StopClock() {
  endTime_ = timer_.timeGetTime();
  // Only a period that was accepted is ended, and only once.
  if (period_ != 0) timer_.timeEndPeriod(period_);
  period_ = 0;
}

}  // namespace drvcmd
