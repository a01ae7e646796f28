// Shared rig of the region sequence tests: an emulated machine on the fake
// clock, the region utility on it with the scripted UI, and the command log
// as short texts.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"
#include "tests/support/fake_region_ui.h"
#include "zone/region_utility.h"

namespace zonetest {

// A KD-410 (an RPC Phase II drive) at letter, adapter 0, target n, with extra keys.
inline std::string Drive(char letter, int target, const std::string& extra = {}) {
  return std::string("{\"letter\": \"") + letter +
         "\", \"adapter\": 0, \"target\": " + std::to_string(target) + ", \"model\": \"KD-410\"" +
         (extra.empty() ? "" : ", " + extra) + "}";
}

inline std::string Machine(const std::vector<std::string>& devices) {
  std::string json = R"({"adapters": [{"number": 0, "identifier": "ESDI_506"}], "devices": [)";
  for (std::size_t i = 0; i < devices.size(); ++i) json += (i ? ", " : "") + devices[i];
  return json + "]}";
}

// Region 2 with 4 changes left, and a region 2 DVD.
inline constexpr char kRegion2[] =
    R"("region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"},
       "disc": {"type": "dvd", "regions": [2]})";

// A log entry as its opcode ("12", "A4", "AD", "00"); SEND KEY with its mask ("A3 FD").
inline std::string Describe(const emu::LoggedCommand& command) {
  char text[16];
  if (command.cdb[0] == 0xA3 && command.dataOut.size() > 4) {
    std::snprintf(text, sizeof text, "A3 %02X", command.dataOut[4]);
  } else {
    std::snprintf(text, sizeof text, "%02X", command.cdb[0]);
  }
  return text;
}

class RegionRig : public ::testing::Test {
 protected:
  // Loads the machine, starts the utility, scans and selects the first drive.
  void Start(const std::string& machineJson, emu::MachineOptions options = {}) {
    options.fakeClock = true;
    if (options.stateFile.empty()) options.readOnly = true;
    utility_.reset();
    std::string error;
    machine_ = emu::EmulatedMachine::LoadText(machineJson, "region-test.json", options, &error);
    ASSERT_NE(machine_, nullptr) << error;
    utility_ = std::make_unique<zone::RegionUtility>(*machine_, ui_);
    ASSERT_EQ(utility_->Start(), 0);
    utility_->ScanDrives();
    ui_.selected = utility_->Drives().labels.empty() ? drvcmd::kNoItem : 0;
    machine_->Log().Clear();
  }

  // The region commands and TEST UNIT READYs sent since the last Clear.
  std::vector<std::string> Commands() {
    std::vector<std::string> out;
    for (const emu::LoggedCommand& entry : machine_->Log().Entries())
      out.push_back(Describe(entry));
    return out;
  }
  bool Sent(const std::string& command) {
    for (const std::string& sent : Commands()) {
      if (sent.rfind(command, 0) == 0) return true;
    }
    return false;
  }
  emu::EmulatedDrive& DriveAt(char letter) { return *machine_->DriveAtLetter(letter); }

  std::unique_ptr<emu::EmulatedMachine> machine_;
  testsupport::FakeRegionUi ui_;
  std::unique_ptr<zone::RegionUtility> utility_;
};

}  // namespace zonetest
