// The machine's devices and the one road every command takes to them: the
// generic faults first, then the drive, then the write-back of kept state. A
// change that cannot be written back fails its command, as a drive fails a
// command whose write to its non-volatile memory failed.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "emulator/drive_model.h"
#include "emulator/emulated_drive.h"
#include "emulator/machine_clock.h"
#include "emulator/machine_description.h"
#include "emulator/state_store.h"

namespace emu {

struct DeviceSlot {
  DeviceConfig config;  // faults keep their remaining counts here
  std::unique_ptr<EmulatedDrive> drive;
};

struct ExchangeResult {
  bool transportFailure = false;  // the command never reached the drive
  CommandAnswer answer;
  std::uint32_t delayMs = 0;  // fault delay plus the drive's own duration
};

class DeviceBus {
 public:
  // `store` null: kept state is not written back.
  DeviceBus(std::vector<DeviceSlot> slots, std::optional<StateStore> store, MachineClock& clock);

  DeviceSlot* AtLetter(char letter);
  DeviceSlot* At(int adapter, int target);
  std::vector<DeviceSlot>& Slots() { return slots_; }

  ExchangeResult Exchange(DeviceSlot& slot, const CommandBlock& command);

  // Empty when the last write-back succeeded.
  std::string LastStateError() const;
  // Where a failed write-back is told to the user; standard error when empty.
  void SetFailureNotice(std::function<void(const std::string&)> notice);

 private:
  FaultRule* MatchingFault(DeviceSlot& slot, const CommandBlock& command);
  // Writes the changed kind of the drive's kept state back; false when it cannot.
  bool Persist(DeviceSlot& slot, KeptKind kind);

  std::vector<DeviceSlot> slots_;
  std::optional<StateStore> store_;
  MachineClock& clock_;
  mutable std::mutex stateErrorMutex_;
  std::string lastStateError_;
  std::function<void(const std::string&)> failureNotice_;
};

}  // namespace emu
