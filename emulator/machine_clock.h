// The machine's clock: fake (virtual milliseconds that only waits and sleeps
// advance) or real (the steady clock). Also the multimedia timer periods.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

#include "platform/clock.h"

namespace emu {

class MachineClock : public platform::Clock {
 public:
  MachineClock(bool fake, platform::Uint minimumPeriod, std::uint32_t startMs);

  platform::Uint timeBeginPeriod(platform::Uint period) override;
  platform::Uint timeEndPeriod(platform::Uint period) override;
  platform::Dword timeGetTime() override;
  void Sleep(platform::Dword milliseconds) override;

  bool IsFake() const { return fake_; }
  // Milliseconds since the machine started (plus startMs), without wrapping.
  std::uint64_t Now() const;
  // Fake clock only: moves time forward to `when` (never back) and runs the tick.
  void AdvanceTo(std::uint64_t when);
  // Real clock: the steady-clock instant of a machine time.
  std::chrono::steady_clock::time_point RealInstant(std::uint64_t when) const;
  // Runs after time moved or was read, so that due completions are delivered.
  void SetTick(std::function<void()> tick) { tick_ = std::move(tick); }

 private:
  void Tick() {
    if (tick_) tick_();
  }

  const bool fake_;
  const platform::Uint minimumPeriod_;
  const std::uint64_t startMs_;
  const std::chrono::steady_clock::time_point realStart_;
  std::atomic<std::uint64_t> fakeNow_;
  std::function<void()> tick_;
  std::mutex periodsMutex_;
  std::map<platform::Uint, int> periods_;  // period -> begin calls not yet ended
};

}  // namespace emu
