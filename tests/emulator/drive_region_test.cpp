// The emulated drive's region side: REPORT KEY 08h, SEND KEY 06h down to the
// permanent state, READ DVD STRUCTURE 01h per loaded disc, the machine-file
// fields that set it up and the state it keeps.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/emulator/drive_test_commands.h"

namespace emu::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::vector<std::uint8_t> kReportRpcState = {0xA4, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0x08, 0};
const std::vector<std::uint8_t> kSendRpcStructure = {0xA3, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0x06, 0};
const std::vector<std::uint8_t> kReadCopyright = {0xAD, 0, 0, 0, 0, 0, 0, 0x01, 0, 8, 0, 0};

CommandAnswer SetRegionMask(EmulatedDrive& drive, std::uint8_t mask) {
  const Bytes parameters = {0x00, 0x06, 0x00, 0x00, mask, 0x00, 0x00, 0x00};
  return RunOut(drive, kSendRpcStructure, parameters);
}

TEST(DriveRegionTest, CatalogueDriveStartsInTheInitialRpcPhaseTwoState) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  const Exchange state = RunIn(*drive, kReportRpcState, 8);
  EXPECT_EQ(state.answer.scsiStatus, kStatusGood);
  // Type 00b, 4 vendor resets, 5 user changes; no region; RPC Phase II.
  EXPECT_EQ(state.data, (Bytes{0x00, 0x06, 0x00, 0x00, 0x25, 0xFF, 0x01, 0x00}));
  const Exchange shortAnswer = RunIn(*drive, {0xA4, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0x08, 0}, 8);
  EXPECT_EQ(shortAnswer.data.size(), 6u) << "no more than the allocation length";
}

TEST(DriveRegionTest, EachChangeTakesOneUntilTheDriveIsPermanent) {
  auto drive = MakeDrive(R"({"model": "KD-410",
                             "region": {"typeCode": 1, "userChanges": 2, "mask": "0xFD"}})");
  CommandAnswer answer = SetRegionMask(*drive, 0xFD);
  EXPECT_EQ(answer.scsiStatus, kStatusGood);
  EXPECT_EQ(answer.keptChange, KeptKind::kNone) << "its own region again takes no change";
  EXPECT_EQ(drive->Region().userChanges, 2);

  answer = SetRegionMask(*drive, 0xFE);
  EXPECT_EQ(answer.keptChange, KeptKind::kRegion);
  EXPECT_EQ(drive->Region().userChanges, 1);
  EXPECT_EQ(drive->Region().typeCode, kRegionTypeLastChange);
  answer = SetRegionMask(*drive, 0xFB);
  EXPECT_EQ(answer.scsiStatus, kStatusGood);
  EXPECT_EQ(RunIn(*drive, kReportRpcState, 8).data,
            (Bytes{0x00, 0x06, 0x00, 0x00, 0xE0, 0xFB, 0x01, 0x00}));

  answer = SetRegionMask(*drive, 0xF7);
  EXPECT_EQ(SenseOf(answer), (Sense3{0x05, 0x6F, 0x05}));
  EXPECT_EQ(drive->Region().mask, 0xFB);
}

TEST(DriveRegionTest, InvalidMasksAndParameterListsAreRefused) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  EXPECT_EQ(SenseOf(SetRegionMask(*drive, 0xFF)), (Sense3{0x05, 0x26, 0x00}));
  EXPECT_EQ(SenseOf(SetRegionMask(*drive, 0xF5)), (Sense3{0x05, 0x26, 0x00}));
  const Bytes parameters = {0x00, 0x06, 0x00, 0x00, 0xFE, 0x00};
  EXPECT_EQ(SenseOf(RunOut(*drive, {0xA3, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0x06, 0}, parameters)),
            (Sense3{0x05, 0x1A, 0x00}));
  EXPECT_EQ(SenseOf(RunIn(*drive, {0xA4, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0x05, 0}, 8).answer),
            (Sense3{0x05, 0x24, 0x00}))
      << "only the RPC state is reported";
  EXPECT_EQ(drive->Region().userChanges, 5);
}

TEST(DriveRegionTest, CopyrightInformationFollowsTheLoadedDisc) {
  auto none = MakeDrive(R"({"model": "KD-410"})");
  EXPECT_EQ(SenseOf(RunIn(*none, kReadCopyright, 8).answer), (Sense3{0x02, 0x3A, 0x00}));
  auto cd = MakeDrive(R"({"model": "KD-410", "disc": "cd"})");
  EXPECT_EQ(SenseOf(RunIn(*cd, kReadCopyright, 8).answer), (Sense3{0x05, 0x30, 0x02}));
  auto plain = MakeDrive(R"({"model": "KD-410", "disc": "dvd"})");
  EXPECT_EQ(RunIn(*plain, kReadCopyright, 8).data, (Bytes{0, 6, 0, 0, 0x00, 0x00, 0, 0}));
  auto regions = MakeDrive(R"({"model": "KD-410", "disc": {"type": "dvd", "regions": [2, 4]}})");
  EXPECT_EQ(RunIn(*regions, kReadCopyright, 8).data, (Bytes{0, 6, 0, 0, 0x01, 0xF5, 0, 0}));
  auto masked = MakeDrive(
      R"({"model": "KD-410", "disc": {"type": "dvd", "protection": "0x07", "regionMask": 0}})");
  EXPECT_EQ(RunIn(*masked, kReadCopyright, 8).data, (Bytes{0, 6, 0, 0, 0x07, 0x00, 0, 0}));
  EXPECT_EQ(SenseOf(RunIn(*masked, {0xAD, 0, 0, 0, 0, 0, 0, 0x00, 0, 8, 0, 0}, 8).answer),
            (Sense3{0x05, 0x24, 0x00}))
      << "only the copyright information is offered";
}

TEST(DriveRegionTest, DrivesWithoutRpcPhaseTwo) {
  auto unsupported = MakeDrive(R"({"model": "KD-410", "region": "unsupported", "disc": "dvd"})");
  EXPECT_EQ(SenseOf(RunIn(*unsupported, kReportRpcState, 8).answer), (Sense3{0x05, 0x24, 0x00}));
  EXPECT_EQ(SenseOf(SetRegionMask(*unsupported, 0xFE)), (Sense3{0x05, 0x24, 0x00}));
  EXPECT_EQ(RunIn(*unsupported, kReadCopyright, 8).answer.scsiStatus, kStatusGood);

  auto phase1 = MakeDrive(R"({"model": "KD-410", "region": {"scheme": 0, "mask": "0xFE"}})");
  EXPECT_EQ(RunIn(*phase1, kReportRpcState, 8).data[6], 0x00);
  EXPECT_EQ(SenseOf(SetRegionMask(*phase1, 0xFD)), (Sense3{0x05, 0x24, 0x00}));

  auto cdWriter = MakeDrive(R"({"type": "0x04", "vendor": "WRITEON", "disc": "cd"})");
  EXPECT_EQ(SenseOf(RunIn(*cdWriter, kReportRpcState, 8).answer), (Sense3{0x05, 0x20, 0x00}));
  EXPECT_EQ(SenseOf(RunIn(*cdWriter, kReadCopyright, 8).answer), (Sense3{0x05, 0x20, 0x00}));
}

TEST(DriveRegionTest, MachineFileFieldsAreChecked) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"model": "KD-410", "disc": {"type": "dvd", "colour": 1}})",
       "test: devices[0].disc.colour: unknown field"},
      {R"({"model": "KD-410", "disc": {"type": "dvd", "regions": [9]}})",
       "test: devices[0].disc.regions: expected a list of regions 1 to 8"},
      {R"({"model": "KD-410", "disc": {"type": "dvd", "regions": [1], "regionMask": 0}})",
       "test: devices[0].disc: give \"regionMask\" or \"regions\", not both"},
      {R"({"model": "KD-410", "disc": {"type": "cd", "protection": 1}})",
       "test: devices[0].disc: only a DVD carries copyright information"},
      {R"({"model": "KD-410", "disc": {"type": "bluray"}})",
       "test: devices[0].disc.type: expected \"none\", \"cd\" or \"dvd\""},
      {R"({"model": "KD-410", "region": {"typeCode": 4}})", "test: devices[0].region.typeCode: "},
      {R"({"model": "KD-410", "region": "sometimes"})",
       "test: devices[0].region: expected an object or \"unsupported\""},
  };
  for (const auto& [json, message] : cases) {
    std::string error;
    EXPECT_EQ(EmulatedDrive::FromJson(nlohmann::json::parse(json), "test: devices[0]", &error),
              nullptr)
        << json;
    EXPECT_EQ(error.rfind(message, 0), 0u) << error;
  }
}

TEST(DriveRegionTest, RegionIsKeptStateAndABadStateChangesNothing) {
  auto drive = MakeDrive(R"({"model": "KD-410"})");
  ASSERT_EQ(SetRegionMask(*drive, 0xEF).keptChange, KeptKind::kRegion);
  const nlohmann::json saved = drive->SaveState();
  EXPECT_EQ(saved["region"]["mask"], 0xEF);
  EXPECT_EQ(saved["region"]["userChanges"], 4);

  auto restarted = MakeDrive(R"({"model": "KD-410"})");
  std::string error;
  ASSERT_TRUE(restarted->LoadState(saved, &error)) << error;
  EXPECT_EQ(restarted->Region().mask, 0xEF);
  EXPECT_EQ(restarted->Region().typeCode, kRegionTypeSet);

  nlohmann::json bad = saved;
  bad["region"]["userChanges"] = 9;
  EXPECT_FALSE(restarted->LoadState(bad, &error));
  EXPECT_EQ(error.rfind("state.region.userChanges", 0), 0u) << error;
  bad = saved;
  bad["inquiry"] = "not hex";
  EXPECT_FALSE(restarted->LoadState(bad, &error));
  EXPECT_EQ(restarted->Region().mask, 0xEF);

  // A drive without firmware but with a region keeps only the region.
  auto plain = MakeDrive(R"({"vendor": "OTHER", "region": {"mask": "0xFE"}})");
  const nlohmann::json plainState = plain->SaveState();
  EXPECT_EQ(plainState.size(), 1u);
  EXPECT_EQ(plainState["region"]["mask"], 0xFE);
  EXPECT_FALSE(plain->LoadState({{"memory", nlohmann::json::array()}}, &error));
}

}  // namespace
}  // namespace emu::testing
