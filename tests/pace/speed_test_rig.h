// Shared rig of the speed utility tests: an emulated machine with one drive of
// each kind, a SpeedControl of the build under test on the scripted UI, and
// the command log as readable lines.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"
#include "pace/speed_control.h"
#include "tests/support/fake_speed_ui.h"

namespace pacetest {

// Drive-list index, letter and ASPI address of the test machine's drives; both
// builds list them in this order.
struct TestDrive {
  int index;
  char letter;
  int adapter;
  int target;
};
inline constexpr TestDrive kDvdDrive{0, 'D', 0, 0};     // KD-410, DVD loaded
inline constexpr TestDrive kEmptyDrive{1, 'E', 0, 1};   // KD-320, no disc
inline constexpr TestDrive kCdDrive{2, 'F', 1, 0};      // KD-310 in quiet mode, CD loaded
inline constexpr TestDrive kSilentDrive{3, 'G', 1, 1};  // KD-410 that reports no speeds

// `extra` goes into every TAVREON device object (e.g. faults).
inline std::string MachineJson(const std::string& dvdExtra = {},
                               const std::string& emptyExtra = {}) {
  return R"({"adapters": [{"number": 0, "identifier": "ESDI_506"},
                          {"number": 1, "identifier": "AIC-7880 SCSI"}],
             "devices": [
    {"letter": "D", "adapter": 0, "target": 0, "model": "KD-410", "disc": "dvd")" +
         dvdExtra + R"(},
    {"letter": "E", "adapter": 0, "target": 1, "model": "KD-320")" +
         emptyExtra + R"(},
    {"letter": "F", "adapter": 1, "target": 0, "model": "KD-310", "disc": "cd",
     "speedMode": "quiet"},
    {"letter": "G", "adapter": 1, "target": 1, "model": "KD-410", "speeds": {"maximum": 0}},
    {"letter": "H", "adapter": 1, "target": 2, "type": "0x00", "vendor": "MAXIDISK"}]})";
}

// A command as "BB 03 00 00 00 00 00 00 00 00 00 00": the CDB bytes as they
// reached the drive (pass-through: all 12).
inline std::string CdbText(const emu::LoggedCommand& command) {
  std::string text;
  for (std::size_t i = 0; i < command.cdbLength; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", command.cdb[i]);
    text += byte;
  }
  return text;
}

inline std::vector<std::string> Opcodes(const emu::CommandLog& log) {
  std::vector<std::string> out;
  for (const auto& entry : log.Entries()) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", entry.cdb[0]);
    out.emplace_back(text);
  }
  return out;
}

inline const char* BuildName(const ::testing::TestParamInfo<const pace::PaceVariant*>& info) {
  return info.param->applicationTitle;
}

}  // namespace pacetest
