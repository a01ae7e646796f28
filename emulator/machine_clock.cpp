// Fake and real machine clock.
#include "emulator/machine_clock.h"

#include <thread>

namespace emu {

namespace {
// timeGetDevCaps on the systems of the time reported 1..1000000 ms.
constexpr platform::Uint kMaximumPeriod = 1'000'000;
}  // namespace

MachineClock::MachineClock(bool fake, platform::Uint minimumPeriod, std::uint32_t startMs)
    : fake_(fake),
      minimumPeriod_(minimumPeriod),
      startMs_(startMs),
      realStart_(std::chrono::steady_clock::now()),
      fakeNow_(startMs) {}

platform::Uint MachineClock::timeBeginPeriod(platform::Uint period) {
  if (period < minimumPeriod_ || period > kMaximumPeriod) return platform::kTimerrNoCanDo;
  std::lock_guard lock(periodsMutex_);
  ++periods_[period];
  return platform::kTimerrNoError;
}

platform::Uint MachineClock::timeEndPeriod(platform::Uint period) {
  std::lock_guard lock(periodsMutex_);
  const auto found = periods_.find(period);
  if (found == periods_.end()) return platform::kTimerrNoCanDo;
  if (--found->second == 0) periods_.erase(found);
  return platform::kTimerrNoError;
}

std::uint64_t MachineClock::Now() const {
  if (fake_) return fakeNow_.load();
  const auto elapsed = std::chrono::steady_clock::now() - realStart_;
  return startMs_ + static_cast<std::uint64_t>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

platform::Dword MachineClock::timeGetTime() {
  Tick();
  return static_cast<platform::Dword>(Now());  // wraps after 49.7 days, as it does on Windows
}

void MachineClock::Sleep(platform::Dword milliseconds) {
  if (fake_) {
    AdvanceTo(Now() + milliseconds);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  Tick();
}

void MachineClock::AdvanceTo(std::uint64_t when) {
  if (fake_) {
    std::uint64_t now = fakeNow_.load();
    while (now < when && !fakeNow_.compare_exchange_weak(now, when)) {
    }
  }
  Tick();
}

std::chrono::steady_clock::time_point MachineClock::RealInstant(std::uint64_t when) const {
  const std::uint64_t offset = when > startMs_ ? when - startMs_ : 0;
  return realStart_ + std::chrono::milliseconds(offset);
}

}  // namespace emu
