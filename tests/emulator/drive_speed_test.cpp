// The emulated drive's speed side: SET CD SPEED with its mode-control byte,
// the capabilities page through MODE SENSE(6) and (10), the spindle, the speed
// fields of a machine file and the kept permanent mode.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "tests/emulator/drive_test_commands.h"

namespace emu::testing {
namespace {

std::vector<std::uint8_t> SetCdSpeed(std::uint8_t mode, std::uint16_t readSpeed) {
  return {0xBB,
          mode,
          static_cast<std::uint8_t>(readSpeed >> 8),
          static_cast<std::uint8_t>(readSpeed),
          0,
          0,
          0,
          0,
          0,
          0,
          0,
          0};
}
const std::vector<std::uint8_t> kModeSense6 = {0x1A, 0x08, 0x2A, 0, 26, 0};
const std::vector<std::uint8_t> kModeSense10 = {0x5A, 0x08, 0x2A, 0, 0, 0, 0, 0, 34, 0};
const std::vector<std::uint8_t> kStop = {0x1B, 0, 0, 0, 0x00, 0};
const std::vector<std::uint8_t> kStart = {0x1B, 0, 0, 0, 0x01, 0};
const std::vector<std::uint8_t> kReady = {0, 0, 0, 0, 0, 0};
const std::vector<std::uint8_t> kRead10 = {0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0};

std::uint16_t Be16(const std::vector<std::uint8_t>& data, std::size_t at) {
  return static_cast<std::uint16_t>(data.at(at) << 8 | data.at(at + 1));
}

using SpeedPair = std::pair<int, int>;

// Current and maximum read speed from a MODE SENSE(10) reply.
SpeedPair Speeds(EmulatedDrive& drive) {
  const Exchange e = RunIn(drive, kModeSense10, 34);
  EXPECT_EQ(e.answer.scsiStatus, kStatusGood);
  return {Be16(e.data, 8 + 14), Be16(e.data, 8 + 8)};
}

TEST(DriveSpeed, ModeSenseSixAndTenCarryThePageAfterTheirHeaders) {
  auto drive = MakeDrive(R"({"model": "KD-310", "disc": "cd"})");
  const Exchange six = RunIn(*drive, kModeSense6, 64);
  ASSERT_EQ(six.answer.scsiStatus, kStatusGood);
  ASSERT_EQ(six.data.size(), 26u);  // the allocation length, short of the whole page
  EXPECT_EQ(six.data[0], 29);       // mode data length: 4 + 26 - 1
  EXPECT_EQ(six.data[3], 0);        // no block descriptors
  EXPECT_EQ(six.data[4], 0x2A);
  EXPECT_EQ(six.data[5], 0x18);
  EXPECT_EQ(Be16(six.data, 4 + 8), 5540);
  EXPECT_EQ(Be16(six.data, 4 + 14), 5540);

  const Exchange ten = RunIn(*drive, kModeSense10, 64);
  ASSERT_EQ(ten.data.size(), 34u);
  EXPECT_EQ(Be16(ten.data, 0), 32);  // 8 + 26 - 2
  EXPECT_EQ(Be16(ten.data, 6), 0);
  EXPECT_EQ(ten.data[8], 0x2A);
  EXPECT_EQ(Be16(ten.data, 8 + 8), 5540);
  EXPECT_EQ(Be16(ten.data, 8 + 14), 5540);

  // Only page 2Ah (or all pages) is offered.
  std::vector<std::uint8_t> other = kModeSense6;
  other[2] = 0x01;
  EXPECT_EQ(SenseOf(RunIn(*drive, other, 64).answer), (Sense3{0x05, 0x24, 0x00}));
}

TEST(DriveSpeed, ModeBytesSetTemporaryOrPermanentModeAndRefuseOthers) {
  auto drive = MakeDrive(R"({"model": "KD-410", "disc": "dvd"})");
  CommandAnswer answer = RunIn(*drive, SetCdSpeed(0x01, 0x0000), 0).answer;
  EXPECT_EQ(answer.scsiStatus, kStatusGood);
  EXPECT_EQ(answer.keptChange, KeptKind::kNone);
  EXPECT_EQ(drive->Speed().currentMode, SpeedMode::kQuiet);
  EXPECT_EQ(drive->Speed().permanentMode, SpeedMode::kPerformance);
  EXPECT_EQ(Speeds(*drive), SpeedPair(2770, 7040));

  answer = RunIn(*drive, SetCdSpeed(0x03, 0x0000), 0).answer;
  EXPECT_EQ(answer.keptChange, KeptKind::kSpeedMode);
  EXPECT_EQ(drive->Speed().permanentMode, SpeedMode::kQuiet);
  answer = RunIn(*drive, SetCdSpeed(0x01, 0xFFFF), 0).answer;
  EXPECT_EQ(drive->Speed().currentMode, SpeedMode::kPerformance);
  EXPECT_EQ(drive->Speed().permanentMode, SpeedMode::kQuiet);

  // Other mode bytes, and read speeds other than 0000h/FFFFh with a mode byte.
  EXPECT_EQ(SenseOf(RunIn(*drive, SetCdSpeed(0x02, 0xFFFF), 0).answer), (Sense3{0x05, 0x24, 0x00}));
  EXPECT_EQ(SenseOf(RunIn(*drive, SetCdSpeed(0x01, 2112), 0).answer), (Sense3{0x05, 0x24, 0x00}));
  EXPECT_EQ(drive->Speed().currentMode, SpeedMode::kPerformance);
}

TEST(DriveSpeed, CurrentSpeedFollowsTheDiscAndTheExtractionSpeed) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  EXPECT_EQ(Speeds(*drive).first, 7040);  // no disc: the CD speed it would spin up to
  drive->SetDisc(DiscKind::kDvd);
  EXPECT_EQ(Speeds(*drive).first, 5540);
  drive->SetDisc(DiscKind::kCd);
  EXPECT_EQ(Speeds(*drive).first, 7040);
  EXPECT_EQ(RunIn(*drive, SetCdSpeed(0x00, 2112), 0).answer.scsiStatus, kStatusGood);
  EXPECT_EQ(Speeds(*drive).first, 2112);
  drive->SetDisc(DiscKind::kDvd);  // the extraction speed is for CDs only
  EXPECT_EQ(Speeds(*drive).first, 5540);
  drive->SetDisc(DiscKind::kCd);
  RunIn(*drive, SetCdSpeed(0x00, 0xFFFF), 0);
  EXPECT_EQ(Speeds(*drive).first, 7040);
}

TEST(DriveSpeed, StoppedSpindleIsNotReadyUntilStartOrRead) {
  auto drive = MakeDrive(R"({"model": "KD-410", "disc": "cd"})");
  EXPECT_EQ(RunIn(*drive, kStop, 0).answer.scsiStatus, kStatusGood);
  EXPECT_EQ(SenseOf(RunIn(*drive, kReady, 0).answer), (Sense3{0x02, 0x04, 0x02}));
  EXPECT_EQ(SenseOf(RunIn(*drive, kReady, 0).answer), (Sense3{0x02, 0x04, 0x02}));
  RunIn(*drive, kRead10, 0);  // a read spins the disc up
  EXPECT_EQ(RunIn(*drive, kReady, 0).answer.scsiStatus, kStatusGood);

  RunIn(*drive, kStop, 0);
  EXPECT_EQ(RunIn(*drive, kStart, 0).answer.scsiStatus, kStatusGood);
  EXPECT_EQ(RunIn(*drive, kReady, 0).answer.scsiStatus, kStatusGood);

  // Eject and power conditions are not emulated.
  const std::vector<std::uint8_t> eject = {0x1B, 0, 0, 0, 0x02, 0};
  EXPECT_EQ(SenseOf(RunIn(*drive, eject, 0).answer), (Sense3{0x05, 0x24, 0x00}));

  auto empty = MakeDrive(R"({"model": "KD-410"})");
  RunIn(*empty, kStop, 0);
  EXPECT_EQ(SenseOf(RunIn(*empty, kReady, 0).answer), (Sense3{0x02, 0x3A, 0x00}));
}

TEST(DriveSpeed, DrivesWithoutTavreonFirmwareKnowNoSpeedCommands) {
  auto plain = MakeDrive(R"({"vendor": "WRITEON", "product": "CD-RW DRIVE 4012"})");
  EXPECT_EQ(SenseOf(RunIn(*plain, SetCdSpeed(0x01, 0), 0).answer), (Sense3{0x05, 0x20, 0x00}));
  EXPECT_EQ(SenseOf(RunIn(*plain, kModeSense6, 26).answer), (Sense3{0x05, 0x20, 0x00}));
}

TEST(DriveSpeed, MachineFileSetsSpeedsAndFactoryMode) {
  auto drive = MakeDrive(
      R"({"model": "KD-410", "disc": "cd", "speedMode": "quiet", "speeds": {"maximum": 0, "cdQuiet": 1234}})");
  EXPECT_EQ(drive->Speed().permanentMode, SpeedMode::kQuiet);
  EXPECT_EQ(Speeds(*drive), SpeedPair(1234, 0));

  const auto error = [](const std::string& text) {
    std::string message;
    EXPECT_EQ(EmulatedDrive::FromJson(nlohmann::json::parse(text), "m.json: devices[0]", &message),
              nullptr);
    return message;
  };
  EXPECT_EQ(error(R"({"model": "KD-410", "speeds": {"maximum": 70000}})"),
            "m.json: devices[0].speeds.maximum: expected kbytes/s from 0 to 65535");
  EXPECT_EQ(error(R"({"model": "KD-410", "speeds": {"fastest": 1}})"),
            "m.json: devices[0].speeds.fastest: unknown key");
  EXPECT_EQ(error(R"({"model": "KD-410", "speedMode": "loud"})"),
            "m.json: devices[0].speedMode: expected \"quiet\" or \"performance\"");
  EXPECT_NE(error(R"({"vendor": "WRITEON", "speedMode": "quiet"})").find("\"model\""),
            std::string::npos);
}

TEST(DriveSpeed, OnlyAChangedPermanentModeIsKeptAndALoadRestartsInIt) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  EXPECT_FALSE(drive->SaveState().contains("speedMode"));
  RunIn(*drive, SetCdSpeed(0x01, 0x0000), 0);
  EXPECT_FALSE(drive->SaveState().contains("speedMode"));  // temporary: not kept
  RunIn(*drive, SetCdSpeed(0x03, 0x0000), 0);
  const nlohmann::json state = drive->SaveState();
  EXPECT_EQ(state.at("speedMode"), "quiet");

  auto restarted = MakeDrive(R"({"model": "KD-410"})");
  std::string error;
  ASSERT_TRUE(restarted->LoadState(state, &error)) << error;
  EXPECT_EQ(restarted->Speed().currentMode, SpeedMode::kQuiet);
  EXPECT_EQ(restarted->Speed().permanentMode, SpeedMode::kQuiet);

  nlohmann::json bad = state;
  bad["speedMode"] = 3;
  auto other = MakeDrive(R"({"model": "KD-410"})");
  EXPECT_FALSE(other->LoadState(bad, &error));
  EXPECT_EQ(error, "state.speedMode: expected \"quiet\" or \"performance\"");
  EXPECT_EQ(other->Speed().permanentMode, SpeedMode::kPerformance);
}

}  // namespace
}  // namespace emu::testing
