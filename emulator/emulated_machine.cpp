// The emulated machine: builds every service from a machine file and wires
// them to one clock, one device bus and one command log.
#include "emulator/emulated_machine.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "emulator/device_bus.h"
#include "emulator/emulated_aspi.h"
#include "emulator/emulated_drive.h"
#include "emulator/emulated_kernel.h"
#include "emulator/emulated_pass_through.h"
#include "emulator/emulated_processes.h"
#include "emulator/emulated_system_info.h"
#include "emulator/handle_allocator.h"
#include "emulator/machine_clock.h"
#include "emulator/machine_file_parser.h"
#include "emulator/pending_completions.h"
#include "emulator/state_store.h"

namespace emu {

namespace {

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

class Machine : public EmulatedMachine {
 public:
  Machine(const MachineDescription& description, std::vector<DeviceSlot> slots,
          std::optional<StateStore> store, bool fakeClock, const MachineOptions& options)
      : clock_(fakeClock, description.clock.minimumPeriod, description.clock.startMs),
        kernel_(handles_, clock_, completions_, log_, description.report,
                description.failAllocation),
        bus_(std::move(slots), std::move(store), clock_),
        passThrough_(handles_, kernel_, bus_, log_, clock_),
        aspi_(description.aspi, description.adapters, handles_, kernel_, bus_, log_, clock_,
              completions_),
        systemInfo_(description.component),
        processes_(kernel_, options.processes ? options.processes(kernel_) : nullptr) {
    // Delayed ASPI requests complete whenever machine time is read or moves.
    clock_.SetTick([this] { completions_.RunDue(clock_.Now()); });
  }

  platform::Kernel& Kernel32() override { return kernel_; }
  platform::PassThroughService& PassThrough() override { return passThrough_; }
  platform::AspiManager& Aspi() override { return aspi_; }
  platform::Clock& Timer() override { return clock_; }
  platform::SystemInfoComponentFactory& SystemInfoComponents() override { return systemInfo_; }
  platform::ProcessService& Processes() override { return processes_; }
  // The machine is the Windows system its version record describes.
  platform::NativeSystem Native() override { return {}; }
  std::vector<std::string> NodesOfLetter(char letter) override {
    return NodesOf(bus_.AtLetter(letter));
  }
  std::vector<std::string> NodesOfTarget(platform::Byte adapter, platform::Byte target) override {
    return NodesOf(bus_.At(adapter, target));
  }

  CommandLog& Log() override { return log_; }
  EmulatedDrive* DriveAtLetter(char letter) override {
    DeviceSlot* slot = bus_.AtLetter(letter);
    return slot != nullptr ? slot->drive.get() : nullptr;
  }
  EmulatedDrive* DriveAt(int adapter, int target) override {
    DeviceSlot* slot = bus_.At(adapter, target);
    return slot != nullptr ? slot->drive.get() : nullptr;
  }
  bool SetDeviceOpenFails(char letter, bool fails) override {
    DeviceSlot* slot = bus_.AtLetter(letter);
    if (slot == nullptr) return false;
    slot->config.openFails = fails;
    return true;
  }
  std::string LastStateError() const override { return bus_.LastStateError(); }
  void SetFailureNotice(std::function<void(const std::string& text)> notice) override {
    bus_.SetFailureNotice(std::move(notice));
  }
  std::size_t LiveMemoryBlocks() override { return kernel_.LiveMemoryBlocks(); }
  std::size_t OpenDeviceHandles() override { return passThrough_.OpenHandles(); }
  std::size_t PendingAspiRequests() const override { return completions_.Count(); }

 private:
  static std::vector<std::string> NodesOf(const DeviceSlot* slot) {
    if (slot == nullptr || slot->config.node.empty()) return {};
    return {slot->config.node};
  }

  // Declaration order is construction order: the services below use those above.
  HandleAllocator handles_;
  MachineClock clock_;
  PendingCompletions completions_;
  CommandLog log_;
  EmulatedKernel kernel_;
  DeviceBus bus_;
  EmulatedPassThrough passThrough_;
  EmulatedAspi aspi_;
  EmulatedSystemInfoFactory systemInfo_;
  EmulatedProcesses processes_;
};

// Builds each device's drive and applies the kept state saved for it.
bool BuildDevices(const MachineDescription& description, const nlohmann::json& states,
                  const std::string& statesName, std::vector<DeviceSlot>* slots,
                  std::string* error) {
  for (const auto& device : description.devices) {
    DeviceSlot slot;
    slot.config = device;
    std::string driveError;
    slot.drive = EmulatedDrive::FromJson(device.object, device.where, &driveError);
    if (!slot.drive) {
      return Fail(error, driveError.empty() ? device.where + ": not a valid device" : driveError);
    }
    slots->push_back(std::move(slot));
  }
  for (const auto& item : states.items()) {
    const auto found = std::find_if(slots->begin(), slots->end(), [&](const DeviceSlot& slot) {
      return slot.config.StateKey() == item.key();
    });
    const std::string where = statesName + ": driveStates." + item.key();
    if (found == slots->end()) {
      return Fail(error, where + ": no device at this adapter:target");
    }
    std::string stateError;
    if (!found->drive->LoadState(item.value(), &stateError)) {
      return Fail(error, where + ": " + stateError);
    }
  }
  return true;
}

std::unique_ptr<EmulatedMachine> Build(const std::string& text, const std::string& name,
                                       const std::string& machineFile,
                                       const MachineOptions& options, std::string* error) {
  MachineDescription description;
  if (!ParseMachineText(text, name, &description, error)) return nullptr;

  // Kept state lives in the state file when one is given, else in the machine file.
  std::string statePath = options.stateFile.empty() ? machineFile : options.stateFile;
  nlohmann::json states = description.driveStates;
  std::string statesName = name;
  if (!options.stateFile.empty()) {
    statesName = options.stateFile;
    if (!StateStore::LoadStates(options.stateFile, &states, error)) return nullptr;
  }
  std::optional<StateStore> store;
  if (!options.readOnly && !statePath.empty()) store.emplace(statePath);

  std::vector<DeviceSlot> slots;
  if (!BuildDevices(description, states, statesName, &slots, error)) return nullptr;
  return std::make_unique<Machine>(description, std::move(slots), std::move(store),
                                   options.fakeClock, options);
}

}  // namespace

std::unique_ptr<EmulatedMachine> EmulatedMachine::LoadFile(const std::string& path,
                                                           const MachineOptions& options,
                                                           std::string* error) {
  try {
    std::string text;
    if (!StateStore::ReadWholeFile(path, &text, error)) return nullptr;
    return Build(text, path, path, options, error);
  } catch (const std::exception& e) {
    Fail(error, path + ": " + e.what());
    return nullptr;
  }
}

std::unique_ptr<EmulatedMachine> EmulatedMachine::LoadText(const std::string& json,
                                                           const std::string& name,
                                                           const MachineOptions& options,
                                                           std::string* error) {
  try {
    return Build(json, name, "", options, error);
  } catch (const std::exception& e) {
    Fail(error, name + ": " + e.what());
    return nullptr;
  }
}

}  // namespace emu
