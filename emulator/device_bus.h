// The machine's devices and the one road every command takes to them: the
// generic faults first, then the drive, then the write-back of kept state.
#pragma once

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

 private:
  FaultRule* MatchingFault(DeviceSlot& slot, const CommandBlock& command);
  void Persist(DeviceSlot& slot);

  std::vector<DeviceSlot> slots_;
  std::optional<StateStore> store_;
  MachineClock& clock_;
  mutable std::mutex stateErrorMutex_;
  std::string lastStateError_;
};

}  // namespace emu
