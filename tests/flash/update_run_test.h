// Shared rig of the update run tests: an emulated machine with one drive of
// each kind, the scripted UI, a drive selection and command-log helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drvcmd/drive_list.h"
#include "emulator/emulated_machine.h"
#include "emulator/firmware_builder.h"
#include "flash/flash_variant.h"
#include "tests/support/fake_updater_ui.h"

namespace flashtest {

// Drive letters, ASPI addresses and models of the test machine.
struct TestDrive {
  char letter;
  int adapter;
  int target;
  const char* model;
};

inline constexpr TestDrive kKd410{'D', 0, 0, "KD-410"};         // G6, identity at 0x1000
inline constexpr TestDrive kKd320{'E', 0, 1, "KD-320"};         // G5, H8_3062R image
inline constexpr TestDrive kKd310{'F', 1, 0, "KD-310"};         // G5, other controller
inline constexpr TestDrive kLumax{'G', 1, 1, "KD-4200-LUMAX"};  // identity at 0x100
inline constexpr TestDrive kKd600{'H', 1, 2, "KD-600"};         // in no table
inline constexpr TestDrive kKd16x{'I', 1, 3, "KD-16X"};         // pass-through table only
inline constexpr TestDrive kOrbec{'J', 1, 4, "KD-420-ORBEC"};   // identity at 0x2000

inline std::string DeviceJson(const TestDrive& drive, const std::string& extra = {}) {
  return std::string("{\"letter\": \"") + drive.letter +
         "\", \"adapter\": " + std::to_string(drive.adapter) +
         ", \"target\": " + std::to_string(drive.target) + ", \"model\": \"" + drive.model + "\"" +
         extra + "}";
}

inline std::string MachineJson(const std::string& kd410Extra = {}) {
  return R"({"adapters": [{"number": 0, "identifier": "ESDI_506"},
                          {"number": 1, "identifier": "AIC-7880 SCSI"}],
             "devices": [)" +
         DeviceJson(kKd410, kd410Extra) + ", " + DeviceJson(kKd320) + ", " + DeviceJson(kKd310) +
         ", " + DeviceJson(kLumax) + ", " + DeviceJson(kKd600) + ", " + DeviceJson(kKd16x) + ", " +
         DeviceJson(kOrbec) + "]}";
}

// The tree selection as the window would report it for either build.
class FakeSelection : public drvcmd::DriveSelection {
 public:
  void TakeFieldValues() override { ++takes; }
  std::optional<std::string> SelectedText() override { return text; }
  std::optional<std::string> SelectedParentText() override { return parent; }

  void Select(const flash::FlashVariant& variant, const TestDrive& drive) {
    char label[64];
    if (drvcmd::UsesAspi(variant.program)) {
      std::snprintf(label, sizeof label, "ID=%01x : TAVREON", drive.target);
      text = label;
      std::snprintf(label, sizeof label, "%02x : ATAPI Interface", drive.adapter);
      parent = label;
    } else {
      std::snprintf(label, sizeof label, "%c: TAVREON  (C/DVD-ROM)", drive.letter);
      text = label;
      parent.reset();
    }
  }

  std::optional<std::string> text;
  std::optional<std::string> parent;
  int takes = 0;
};

// A log entry as "3B FF 018000 8000" (opcode, buffer ID, offset, length) for
// the firmware commands, or the opcode alone ("12", "03") for the others.
inline std::string Describe(const emu::LoggedCommand& command) {
  char text[32];
  const auto& cdb = command.cdb;
  if (cdb[0] == 0x3B || cdb[0] == 0x3C) {
    std::snprintf(text, sizeof text, "%02X %02X %06X %04X", cdb[0], cdb[2],
                  (cdb[3] << 16) | (cdb[4] << 8) | cdb[5], (cdb[7] << 8) | cdb[8]);
  } else {
    std::snprintf(text, sizeof text, "%02X", cdb[0]);
  }
  return text;
}

inline std::vector<std::string> Describe(const emu::CommandLog& log) {
  std::vector<std::string> out;
  for (const auto& entry : log.Entries()) out.push_back(Describe(entry));
  return out;
}

// The firmware commands of a whole good run on a single-image drive.
inline std::vector<std::string> GoodRunCommands() {
  return {"12",
          "3C 80 001000 0020",
          "3B 30 000000 0000",
          "3B FF 000000 8000",
          "3B FF 008000 8000",
          "3B FF 010000 8000",
          "3B FF 018000 8000",
          "3B FF 020000 1010",
          "3B 42 000000 0000",
          "3C 80 000000 8000",
          "3C 80 008000 8000",
          "3C 80 010000 8000",
          "3C 80 018000 8000"};
}

inline bool SentWriteBuffer(const emu::CommandLog& log) {
  for (const auto& entry : log.Entries()) {
    if (entry.cdb[0] == 0x3B) return true;
  }
  return false;
}

// Our own firmware image for a model, as the loader would leave it in effect.
inline void PutImage(std::span<std::uint8_t> bytes, const char* model,
                     emu::BrokenVariant broken = emu::BrokenVariant::kNone) {
  const emu::ModelSpec* spec = emu::FindDriveModel(model);
  ASSERT_NE(spec, nullptr) << model;
  const emu::FirmwareBuild build = emu::BuildFirmware(*spec, "1.05", broken);
  ASSERT_EQ(build.image.size(), bytes.size());
  std::copy(build.image.begin(), build.image.end(), bytes.begin());
}

inline std::unique_ptr<emu::EmulatedMachine> LoadMachine(const std::string& json) {
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  std::string error;
  auto machine = emu::EmulatedMachine::LoadText(json, "update-test.json", options, &error);
  EXPECT_NE(machine, nullptr) << error;
  return machine;
}

inline const char* BuildName(const ::testing::TestParamInfo<const flash::FlashVariant*>& info) {
  return info.param->applicationTitle;
}

}  // namespace flashtest
