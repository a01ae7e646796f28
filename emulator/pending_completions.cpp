// Pending ASPI completions.
#include "emulator/pending_completions.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace emu {

void PendingCompletions::Add(const void* srb, platform::Handle event, std::uint64_t dueMs,
                             Completion complete) {
  std::lock_guard lock(mutex_);
  entries_.push_back(Entry{srb, event, dueMs, std::move(complete)});
}

std::optional<std::uint64_t> PendingCompletions::DueFor(platform::Handle event) const {
  std::lock_guard lock(mutex_);
  std::optional<std::uint64_t> due;
  for (const auto& entry : entries_) {
    if (entry.event == event && (!due || entry.dueMs < *due)) due = entry.dueMs;
  }
  return due;
}

bool PendingCompletions::IsPending(const void* srb) const {
  std::lock_guard lock(mutex_);
  return std::any_of(entries_.begin(), entries_.end(),
                     [srb](const Entry& entry) { return entry.srb == srb; });
}

std::size_t PendingCompletions::Count() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

void PendingCompletions::RunDue(std::uint64_t nowMs) {
  std::vector<Entry> due;
  {
    std::lock_guard lock(mutex_);
    auto split = std::stable_partition(entries_.begin(), entries_.end(),
                                       [nowMs](const Entry& entry) { return entry.dueMs > nowMs; });
    std::move(split, entries_.end(), std::back_inserter(due));
    entries_.erase(split, entries_.end());
  }
  std::stable_sort(due.begin(), due.end(),
                   [](const Entry& a, const Entry& b) { return a.dueMs < b.dueMs; });
  // Completions signal events, which takes the kernel's lock: run them unlocked.
  for (auto& entry : due) entry.complete(false);
}

bool PendingCompletions::Abort(const void* srb) {
  Completion complete;
  {
    std::lock_guard lock(mutex_);
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [srb](const Entry& entry) { return entry.srb == srb; });
    if (found == entries_.end()) return false;
    complete = std::move(found->complete);
    entries_.erase(found);
  }
  complete(true);
  return true;
}

template <typename Predicate>
void PendingCompletions::EraseIf(Predicate predicate) {
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, predicate);
}

void PendingCompletions::ForgetRequest(const void* srb) {
  EraseIf([srb](const Entry& entry) { return entry.srb == srb; });
}

void PendingCompletions::ForgetEvent(platform::Handle event) {
  EraseIf([event](const Entry& entry) { return entry.event == event; });
}

void PendingCompletions::ForgetMemory(const void* begin, std::size_t size) {
  const auto low = reinterpret_cast<std::uintptr_t>(begin);
  EraseIf([low, size](const Entry& entry) {
    const auto address = reinterpret_cast<std::uintptr_t>(entry.srb);
    return address >= low && address - low < size;
  });
}

}  // namespace emu
