// The machine file as parsed and checked: platform report, clock, memory, ASPI
// manager, host adapters, devices with their generic faults, and kept drive state.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "emulator/emulated_drive.h"
#include "platform/kernel.h"

namespace emu {

// What GetVersionExA and GetSystemInfo report.
struct PlatformReport {
  platform::OsVersionInfoA version{};
  platform::SystemInfo system{};
};

enum class ComponentRead { kNone, kBuild, kVersion, kPlatform };

// The system-information component's three properties and how it fails.
struct ComponentValues {
  platform::Short platform = 0;
  float version = 0.0f;
  platform::Short build = 0;
  bool createFails = false;
  ComponentRead failingRead = ComponentRead::kNone;
};

struct ClockSettings {
  platform::Uint minimumPeriod = 1;  // timeBeginPeriod refuses shorter periods
  std::uint32_t startMs = 0;         // the fake clock's first reading
};

enum class AspiManagerState { kPresent, kMissing, kFailsInit, kNoAdapters };

struct AdapterConfig {
  int number = 0;
  std::string identifier;  // HA_Identifier; cut at 16 bytes when reported
  std::uint8_t scsiId = 7;
};

// A generic fault: the next `timesLeft` commands (every one when negative) that
// match the opcode (and CDB byte 2) fail or are slowed down as given.
struct FaultRule {
  std::uint8_t opcode = 0;
  std::optional<std::uint8_t> byte2;
  std::optional<SenseCode> sense;
  int timesLeft = 1;
  std::uint32_t delayMs = 0;
  bool transportFailure = false;
};

struct DeviceConfig {
  char letter = 0;  // 0: no drive letter (reached through ASPI only)
  int adapter = 0;
  int target = 0;
  std::uint8_t pathId = 0;  // what the pass-through address query reports
  std::uint8_t lun = 0;
  bool openFails = false;
  bool answers = true;
  std::string node;  // the device node a real system would show ("/dev/sr0"); may be empty
  std::vector<FaultRule> faults;
  nlohmann::json object;  // the whole device object, for the drive's own fields
  std::string where;      // "file: devices[i]" for error messages

  // The name of the device's entry in "driveStates".
  std::string StateKey() const { return std::to_string(adapter) + ":" + std::to_string(target); }
};

struct MachineDescription {
  PlatformReport report;
  ComponentValues component;
  ClockSettings clock;
  std::uint32_t failAllocation = 0;  // 1-based GlobalAlloc call that fails; 0 none
  AspiManagerState aspi = AspiManagerState::kPresent;
  std::vector<AdapterConfig> adapters;  // sorted by number, numbered 0..n-1
  std::vector<DeviceConfig> devices;
  nlohmann::json driveStates = nlohmann::json::object();
};

}  // namespace emu
