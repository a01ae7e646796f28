// ChangeRegion against emulated drives: what is sent (and what never is), the
// disc-presence box, the messages and the closing query; the drive's count
// down to permanent and its state across a restart of the program.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/zone/region_test_rig.h"

namespace zonetest {
namespace {

using ChangeTest = RegionRig;

TEST_F(ChangeTest, InitialStateDriveTakesARegionWithoutADisc) {
  Start(Machine({Drive('D', 0)}));
  utility_->QueryRegion();
  ui_.Pick(3);
  machine_->Log().Clear();
  ui_.statusText.clear();
  ui_.boxHistory.clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kRegionSet);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"A3 FB", "A4", "AD"})) << "no disc test";
  EXPECT_TRUE(ui_.Messages().empty());
  ASSERT_EQ(ui_.boxHistory.size(), 3u);
  EXPECT_EQ(ui_.boxHistory.front(), "Success to set regional code.\r\n")
      << "shown before the closing query runs";
  EXPECT_EQ(
      ui_.statusText,
      "Success to set regional code.\r\nDrive's region is 3.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(ui_.changesLeft, "Regional code can be changed 4time(s)");
  EXPECT_EQ(ui_.CheckedChoices(), "3");
  EXPECT_EQ(ui_.PushedChoices(), "3");
  EXPECT_EQ(DriveAt('D').Region().mask, 0xFB);
}

TEST_F(ChangeTest, EachChosenRegionIsSentAsItsSingleRegionMask) {
  std::vector<std::string> drives;
  for (int region = 1; region <= 6; ++region) {
    drives.push_back(Drive(static_cast<char>('C' + region), region - 1));
  }
  Start(Machine(drives));
  const std::uint8_t masks[] = {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF};
  for (int region = 1; region <= 6; ++region) {
    SCOPED_TRACE(region);
    ui_.selected = region - 1;
    utility_->QueryRegion();
    ui_.Pick(region);
    machine_->Log().Clear();
    EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kRegionSet);
    char sendKey[8];
    std::snprintf(sendKey, sizeof sendKey, "A3 %02X", masks[region - 1]);
    EXPECT_EQ(Commands(), (std::vector<std::string>{sendKey, "A4", "AD"})) << "no disc test";
    EXPECT_EQ(DriveAt(static_cast<char>('C' + region)).Region().mask, masks[region - 1]);
  }
}

// The checks before SEND KEY, each on a drive without a disc that the user
// does not insert (Cancel): the permanent state first, then the disc (skipped
// only in the initial state: 5 changes and no region), then the chosen region.
TEST_F(ChangeTest, ChecksBeforeSendKeyComeInTheirOrder) {
  const std::string initial = R"({"typeCode": 0, "userChanges": 5, "mask": "0xFF"})";
  const std::string region2Five = R"({"typeCode": 1, "userChanges": 5, "mask": "0xFD"})";
  const std::string noRegionFour = R"({"typeCode": 1, "userChanges": 4, "mask": "0xFF"})";
  const std::string permanentFive = R"({"typeCode": 3, "userChanges": 5, "mask": "0xFF"})";
  const std::string region2Four = R"({"typeCode": 1, "userChanges": 4, "mask": "0xFD"})";
  using enum zone::ChangeOutcome;
  struct Case {
    const std::string& region;
    int pick;  // 0: no choice checked
    bool disc;
    zone::ChangeOutcome outcome;
    std::vector<std::string> sent;  // before the closing query
  };
  const Case cases[] = {
      {initial, 3, false, kRegionSet, {"A3 FB"}}, {initial, 0, false, kNoChoice, {}},
      {region2Five, 2, false, kCanceled, {"00"}}, {noRegionFour, 3, false, kCanceled, {"00"}},
      {permanentFive, 0, false, kPermanent, {}},  {region2Four, 0, false, kCanceled, {"00"}},
      {region2Four, 0, true, kNoChoice, {"00"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.region + std::string(c.disc ? " with a disc" : "") + " pick " +
                 std::to_string(c.pick));
    Start(Machine({Drive(
        'D', 0, std::string(R"("region": )") + c.region + (c.disc ? R"(, "disc": "dvd")" : ""))}));
    utility_->QueryRegion();
    if (c.pick != 0) {
      ui_.Pick(c.pick);
    } else {
      for (int region = 1; region <= 6; ++region) ui_.Choice(region).checked = false;
    }
    machine_->Log().Clear();
    EXPECT_EQ(utility_->ChangeRegion(), c.outcome);
    std::vector<std::string> expected = c.sent;
    expected.insert(expected.end(), {"A4", "AD"});
    EXPECT_EQ(Commands(), expected);
  }
}

TEST_F(ChangeTest, CurrentRegionIsSentAgainWhenNoOtherChoiceIsPicked) {
  Start(Machine({Drive('D', 0, kRegion2)}));
  utility_->QueryRegion();
  machine_->Log().Clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kRegionSet);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"00", "A3 FD", "A4", "AD"}));
  EXPECT_EQ(DriveAt('D').Region().userChanges, 4) << "the drive keeps its count for its own region";
}

TEST_F(ChangeTest, DiscRegionChoiceIsSetAndTheClosingQueryShowsTheNewState) {
  Start(Machine({Drive('D', 0, R"("region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"},
                       "disc": {"type": "dvd", "regions": [2, 4]})")}));
  utility_->QueryRegion();
  ui_.Pick(4);
  ui_.statusText.clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kRegionSet);
  EXPECT_EQ(ui_.statusText,
            "Success to set regional code.\r\nDrive's region is 4.\r\n"
            "This disc is allowed region 2 4\r\n");
  EXPECT_EQ(ui_.changesLeft, "Regional code can be changed 3time(s)");
  EXPECT_EQ(ui_.CheckedChoices(), "4");
  EXPECT_EQ(ui_.EnabledChoices(), "2 4");
  EXPECT_EQ(ui_.PushedChoices(), "2 4") << "the earlier region keeps its pushed look";
}

TEST_F(ChangeTest, PermanentDriveIsNeverSentSendKey) {
  Start(Machine({Drive('D', 0, R"("region": {"typeCode": 3, "userChanges": 0, "mask": "0xFE"},
                                  "disc": "dvd")")}));
  utility_->QueryRegion();
  ui_.Pick(1);
  ui_.statusText.clear();
  machine_->Log().Clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kPermanent);
  EXPECT_FALSE(Sent("A3"));
  EXPECT_FALSE(Sent("00")) << "no disc test either";
  EXPECT_EQ(ui_.statusText,
            "Drive regional code is already permanent state.\r\nDrive's region is 1.\r\n"
            "No copyright protrction disc. All region is allowed.\r\n");
  EXPECT_EQ(ui_.changesLeft, "Regional code can be changed 0time(s)");
}

TEST_F(ChangeTest, NoDiscThenOkThenCancel) {
  Start(Machine({Drive('D', 0, R"("region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"})")}));
  utility_->QueryRegion();
  ui_.statusText.clear();
  machine_->Log().Clear();
  ui_.notice.answers = {drvcmd::kIdOk, drvcmd::kIdCancel};
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kCanceled);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"00", "00", "A4", "AD"}));
  ASSERT_EQ(ui_.Messages().size(), 2u);
  for (const testsupport::ShownMessage& box : ui_.Messages()) {
    EXPECT_EQ(box.text, "Disc is not present !\r\nPlease insert approproiate disc");
    EXPECT_EQ(box.caption, "Attention");
    EXPECT_EQ(box.style, drvcmd::kMbOkCancel | drvcmd::kMbIconExclamation);
  }
  EXPECT_EQ(ui_.statusText,
            "Operation is canceled.\r\nDrive's region is 2.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(machine_->OpenDeviceHandles(), 0u);
}

TEST_F(ChangeTest, NoDiscThenOkAfterTheDiscWasInserted) {
  Start(Machine({Drive('D', 0, R"("region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"})")}));
  utility_->QueryRegion();
  ui_.Pick(2);
  ui_.notice.answers = {drvcmd::kIdOk};
  ui_.onMessage = [this](std::size_t) { DriveAt('D').LoadDvd(emu::DiscCopyright{0x01, 0xFD}); };
  machine_->Log().Clear();
  ui_.statusText.clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kRegionSet);
  EXPECT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"00", "00", "A3 FD", "A4", "AD"}));
  EXPECT_EQ(ui_.statusText,
            "Success to set regional code.\r\nDrive's region is 2.\r\n"
            "This disc is allowed region 2\r\n");
}

TEST_F(ChangeTest, AnotherDriveSelectedIsQueriedFirst) {
  Start(Machine({Drive('D', 0), Drive('E', 1, kRegion2)}));
  utility_->QueryRegion();
  ui_.selected = 1;
  ui_.statusText.clear();
  machine_->Log().Clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kRegionSet);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"A4", "AD", "00", "A3 FD", "A4", "AD"}));
  EXPECT_EQ(ui_.statusText,
            "Drive's region is 2.\r\nThis disc is allowed region 2\r\n"
            "Success to set regional code.\r\n"
            "Drive's region is 2.\r\nThis disc is allowed region 2\r\n");
  EXPECT_EQ(machine_->Log().Entries().front().letter, 'E');
}

TEST_F(ChangeTest, NoSelectionNoChoiceAndRefusedSendKey) {
  Start(Machine(
      {Drive('D', 0,
             std::string(kRegion2) + R"(, "faults": [{"opcode": "0xA3", "sense": "05-26-00"}])")}));
  utility_->QueryRegion();
  ui_.statusText.clear();

  ui_.selected = drvcmd::kNoItem;
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kNotSelected);
  EXPECT_EQ(ui_.statusText, "Valid Item is not selected.\r\nValid Item is not selected.\r\n");

  ui_.selected = 0;
  ui_.Choice(2).checked = false;
  ui_.statusText.clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kNoChoice);
  EXPECT_EQ(ui_.statusText,
            "Appropriate region is not selected.\r\nDrive's region is 2.\r\n"
            "This disc is allowed region 2\r\n");

  // The first checked choice in region order is the one sent.
  ui_.Choice(5).checked = true;
  ui_.Choice(2).checked = true;
  ui_.statusText.clear();
  machine_->Log().Clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kSendFailed);
  EXPECT_TRUE(Sent("A3 FD"));
  EXPECT_EQ(ui_.statusText, "Drive's region is 2.\r\nThis disc is allowed region 2\r\n")
      << "a refused SEND KEY has no line of its own";
}

TEST_F(ChangeTest, OpenFailureEndsTheChangeWithItsLine) {
  Start(Machine({Drive('D', 0, kRegion2)}));
  utility_->QueryRegion();
  ASSERT_TRUE(machine_->SetDeviceOpenFails('D', true));
  ui_.statusText.clear();
  machine_->Log().Clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kOpenFailed);
  EXPECT_EQ(ui_.statusText, "Device open (D) is fail.\r\nDevice open (D) is fail.\r\n");
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ChangeTest, LastChangeMakesTheDrivePermanentAndTheStateSurvivesARestart) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("zone-state-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
       std::to_string(reinterpret_cast<std::uintptr_t>(this)));
  std::filesystem::create_directories(folder);
  const std::string stateFile = (folder / "state.json").string();
  emu::MachineOptions options;
  options.stateFile = stateFile;
  const std::string machine = Machine({Drive(
      'D', 0, R"("region": {"typeCode": 2, "userChanges": 1, "mask": "0xFD"}, "disc": "dvd")")});

  Start(machine, options);
  utility_->QueryRegion();
  ui_.Pick(5);
  ui_.statusText.clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kRegionSet);
  EXPECT_EQ(ui_.changesLeft, "Regional code can be changed 0time(s)");
  EXPECT_EQ(zone::TypeCode(utility_->LastRpcState()), 3);
  EXPECT_EQ(machine_->LastStateError(), "");

  // A new program on the same machine file and state.
  ui_ = testsupport::FakeRegionUi{};
  Start(machine, options);
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText,
            "Drive's region is 5.\r\nNo copyright protrction disc. All region is allowed.\r\n");
  ui_.Pick(1);
  ui_.statusText.clear();
  machine_->Log().Clear();
  EXPECT_EQ(utility_->ChangeRegion(), zone::ChangeOutcome::kPermanent);
  EXPECT_FALSE(Sent("A3"));
  utility_.reset();
  machine_.reset();
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zonetest
