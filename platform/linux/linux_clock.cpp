// LinuxClock.
#include "platform/linux/linux_clock.h"

#include <cerrno>
#include <chrono>
#include <ctime>

namespace platform {

namespace {

constexpr long kNanosecondsPerMillisecond = 1'000'000;
constexpr Dword kMillisecondsPerSecond = 1000;

}  // namespace

Uint LinuxClock::timeBeginPeriod(Uint period) {
  return period >= 1 ? kTimerrNoError : kTimerrNoCanDo;
}

Uint LinuxClock::timeEndPeriod(Uint period) {
  return period >= 1 ? kTimerrNoError : kTimerrNoCanDo;
}

Dword LinuxClock::timeGetTime() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<Dword>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void LinuxClock::Sleep(Dword milliseconds) {
  timespec remaining{
      static_cast<time_t>(milliseconds / kMillisecondsPerSecond),
      static_cast<long>(milliseconds % kMillisecondsPerSecond) * kNanosecondsPerMillisecond};
  // A signal cuts nanosleep short; sleep the rest.
  while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

}  // namespace platform
