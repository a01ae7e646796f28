// Fault injection, drive dispatch and state write-back.
#include "emulator/device_bus.h"

#include <cctype>
#include <cstdio>

namespace emu {

namespace {

constexpr std::size_t kByte2 = 2;
// HARDWARE ERROR, WRITE ERROR: the drive could not keep what the command changed.
constexpr SenseCode kKeptStateWriteError{0x04, 0x0C, 0x00};

// "drive D:", or "drive 1:0" for a device reached through ASPI only.
std::string DriveName(const DeviceConfig& config) {
  if (config.letter != 0) return std::string("drive ") + config.letter + ":";
  return "drive " + config.StateKey();
}

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
  const KeptKind changed = result.answer.keptChange;
  if (changed != KeptKind::kNone && !Persist(slot, changed)) {
    // Nothing of the change stays: the next start would not find it either.
    slot.drive->TakeBackKeptChange();
    result.answer = slot.drive->FailWith(kKeptStateWriteError);
  }
  return result;
}

bool DeviceBus::Persist(DeviceSlot& slot, KeptKind kind) {
  if (!store_) return true;
  std::string error;
  nlohmann::json fields;
  try {
    fields = slot.drive->SaveState(kind);
  } catch (const std::exception& e) {
    error = store_->Path() + ": cannot save the state: " + e.what();
  }
  if (error.empty()) {
    store_->Save(slot.config.StateKey(), EmulatedDrive::StateFields(kind), fields, &error);
  }
  std::function<void(const std::string&)> notice;
  {
    std::lock_guard lock(stateErrorMutex_);
    lastStateError_ = error;
    notice = failureNotice_;
  }
  if (error.empty()) return true;
  // The command fails with sense that cannot name the file: say which file and why.
  const std::string lost = "The change to " + DriveName(slot.config) + " cannot be kept.";
  if (notice) {
    notice(lost + "\r\n" + error);
  } else {
    std::fprintf(stderr, "%s %s\n", lost.c_str(), error.c_str());
  }
  return false;
}

std::string DeviceBus::LastStateError() const {
  std::lock_guard lock(stateErrorMutex_);
  return lastStateError_;
}

void DeviceBus::SetFailureNotice(std::function<void(const std::string&)> notice) {
  std::lock_guard lock(stateErrorMutex_);
  failureNotice_ = std::move(notice);
}

}  // namespace emu
