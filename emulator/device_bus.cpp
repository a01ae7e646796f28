// Fault injection, drive dispatch and state write-back.
#include "emulator/device_bus.h"

#include <cctype>
#include <cstdio>

namespace emu {

namespace {
constexpr std::size_t kByte2 = 2;
}  // namespace

DeviceBus::DeviceBus(std::vector<DeviceSlot> slots, std::optional<StateStore> store,
                     MachineClock& clock)
    : slots_(std::move(slots)), store_(std::move(store)), clock_(clock) {}

DeviceSlot* DeviceBus::AtLetter(char letter) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  for (auto& slot : slots_) {
    if (slot.config.letter != 0 && slot.config.letter == upper) return &slot;
  }
  return nullptr;
}

DeviceSlot* DeviceBus::At(int adapter, int target) {
  for (auto& slot : slots_) {
    if (slot.config.adapter == adapter && slot.config.target == target) return &slot;
  }
  return nullptr;
}

FaultRule* DeviceBus::MatchingFault(DeviceSlot& slot, const CommandBlock& command) {
  for (auto& fault : slot.config.faults) {
    if (fault.timesLeft == 0 || fault.opcode != command.cdb[0]) continue;
    if (fault.byte2 && *fault.byte2 != command.cdb[kByte2]) continue;
    return &fault;
  }
  return nullptr;
}

ExchangeResult DeviceBus::Exchange(DeviceSlot& slot, const CommandBlock& command) {
  ExchangeResult result;
  FaultRule* fault = MatchingFault(slot, command);
  if (fault != nullptr) {
    if (fault->timesLeft > 0) --fault->timesLeft;
    result.delayMs = fault->delayMs;
    if (fault->transportFailure) {
      result.transportFailure = true;
      return result;
    }
    if (fault->sense) {
      // The drive keeps this sense for the REQUEST SENSE that usually follows.
      result.answer = slot.drive->FailWith(*fault->sense);
      return result;
    }
  }
  result.answer = slot.drive->Execute(command, static_cast<std::uint32_t>(clock_.Now()));
  result.delayMs += result.answer.durationMs;
  if (result.answer.persistChanged) Persist(slot);
  return result;
}

void DeviceBus::Persist(DeviceSlot& slot) {
  if (!store_) return;
  std::string error;
  nlohmann::json state;
  try {
    state = slot.drive->SaveState();
  } catch (const std::exception& e) {
    error = store_->Path() + ": cannot save the state of " + slot.config.where + ": " + e.what();
  }
  if (error.empty()) store_->Save(slot.config.StateKey(), state, &error);
  std::lock_guard lock(stateErrorMutex_);
  // The programs have no channel for this, and the change would be lost at the
  // next start: say so on stderr, once per distinct failure.
  if (!error.empty() && error != lastStateError_) std::fprintf(stderr, "%s\n", error.c_str());
  lastStateError_ = error;
}

std::string DeviceBus::LastStateError() const {
  std::lock_guard lock(stateErrorMutex_);
  return lastStateError_;
}

}  // namespace emu
