// ASPI requests accepted but not yet completed: each completes at a machine
// time, when it is aborted, or never when the program has given it up (its
// event closed, its request block resubmitted or its memory freed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/win_types.h"

namespace emu {

class PendingCompletions {
 public:
  // Writes the request block's results; `aborted` when SC_ABORT_SRB ended it.
  using Completion = std::function<void(bool aborted)>;

  void Add(const void* srb, platform::Handle event, std::uint64_t dueMs, Completion complete);
  // When the request that signals this event completes, if one is pending.
  std::optional<std::uint64_t> DueFor(platform::Handle event) const;
  bool IsPending(const void* srb) const;
  std::size_t Count() const;

  // Completes every request due at or before nowMs, earliest first.
  void RunDue(std::uint64_t nowMs);
  // Completes the request at once as aborted; false when none is pending.
  bool Abort(const void* srb);

  // The program has given the request up: it is dropped without a write.
  void ForgetRequest(const void* srb);
  void ForgetEvent(platform::Handle event);
  void ForgetMemory(const void* begin, std::size_t size);

 private:
  struct Entry {
    const void* srb;
    platform::Handle event;
    std::uint64_t dueMs;
    Completion complete;
  };
  template <typename Predicate>
  void EraseIf(Predicate predicate);

  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
};

}  // namespace emu
