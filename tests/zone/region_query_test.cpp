// QueryRegion against emulated drives: the status lines, the region choices,
// the disc indicators and the changes-left label for each drive and disc state.
#include <gtest/gtest.h>

#include "tests/zone/region_test_rig.h"

namespace zonetest {
namespace {

using QueryTest = RegionRig;

TEST_F(QueryTest, InitialStateOffersEverySixRegionsAndNeedsNoDiscToBeRead) {
  // An odd count of vendor resets sets the bit next to the user changes.
  Start(Machine({Drive('D', 0, R"("region": {"vendorResets": 3})")}));
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText, "Drive has no region.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(ui_.boxHistory.size(), 2u) << "drive line and disc line, each refreshed";
  EXPECT_EQ(ui_.boxHistory.front(), "Drive has no region.\r\n");
  EXPECT_EQ(ui_.changesLeft, "Regional code can be changed 5time(s)");
  EXPECT_EQ(ui_.EnabledChoices(), "1 2 3 4 5 6");
  EXPECT_EQ(ui_.CheckedChoices(), "");
  EXPECT_EQ(ui_.PushedChoices(), "");
  EXPECT_EQ(ui_.EnabledDiscs(), "");
  EXPECT_EQ(Commands(), (std::vector<std::string>{"A4", "AD"}));
  EXPECT_EQ(utility_->LastQueriedIndex(), 0);
}

TEST_F(QueryTest, DriveOfRegionTwoWithARegionTwoDisc) {
  Start(Machine({Drive('D', 0, kRegion2)}));
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText, "Drive's region is 2.\r\nThis disc is allowed region 2\r\n");
  EXPECT_EQ(ui_.changesLeft, "Regional code can be changed 4time(s)");
  EXPECT_EQ(ui_.EnabledChoices(), "2");
  EXPECT_EQ(ui_.CheckedChoices(), "2");
  EXPECT_EQ(ui_.PushedChoices(), "2");
  EXPECT_EQ(ui_.EnabledDiscs(), "2");
  EXPECT_EQ(ui_.CheckedDiscs(), "2");
  const zone::RpcState& kept = utility_->LastRpcState();
  EXPECT_EQ(kept.regionMask, 0xFD);
  EXPECT_EQ(zone::UserChanges(kept), 4);
  EXPECT_EQ(zone::TypeCode(kept), 1);
}

TEST_F(QueryTest, OtherSchemesAndUnknownMasks) {
  // A drive that is not RPC Phase II still has its mask decoded.
  Start(Machine({Drive('D', 0, R"("region": {"scheme": 0, "mask": "0xF7"})"),
                 Drive('E', 1, R"("region": {"mask": "0x7F"}, "disc": "cd")")}));
  utility_->QueryRegion();
  EXPECT_EQ(ui_.changesLeft, "This drive does not support RPC2");
  EXPECT_EQ(ui_.statusText, "Drive's region is 4.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(ui_.CheckedChoices(), "4");

  ui_.selected = 1;
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText.substr(ui_.statusText.find("Get disc") + 28),
            "Invalid or Unknown region (7fh).\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(ui_.EnabledChoices(), "") << "an unknown mask offers no choice";
  EXPECT_EQ(ui_.CheckedChoices(), "");
  EXPECT_EQ(ui_.PushedChoices(), "4") << "the pushed look is never cleared";
  EXPECT_EQ(ui_.changesLeft, "Regional code can be changed 5time(s)");
}

TEST_F(QueryTest, DiscsWithoutProtectionForSeveralRegionsForNoneAndOfUnknownType) {
  const std::string drive = R"("region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"}, )";
  Start(Machine({Drive('D', 0, drive + R"("disc": {"type": "dvd", "regions": [2, 4]})"),
                 Drive('E', 1, drive + R"("disc": {"type": "dvd", "regions": []})"),
                 Drive('F', 2, drive + R"("disc": {"type": "dvd", "protection": 2,
                                                   "regionMask": "0xDE"})"),
                 Drive('G', 3, drive + R"("disc": {"type": "dvd", "protection": 3})"),
                 Drive('H', 4, drive + R"("disc": "dvd")")}));
  struct Case {
    const char* discLine;
    const char* enabledChoices;
    const char* enabledDiscs;
    const char* checkedDiscs;  // earlier check marks stay, greyed
  };
  const Case cases[] = {
      {"This disc is allowed region 2 4\r\n", "2 4", "2 4", "2 4"},
      {"This disc is allowed region\r\n", "2", "", "2 4"},
      {"This disc is allowed region 1 6\r\n", "1 2 6", "1 6", "1 2 4 6"},
      {"Unknown copyright protection type.\r\n", "2", "", "1 2 4 6"},
      {"No copyright protrction disc. All region is allowed.\r\n", "2", "1 2 3 4 5 6",
       "1 2 3 4 5 6"},
  };
  for (int index = 0; index < 5; ++index) {
    SCOPED_TRACE(index);
    ui_.statusText.clear();
    ui_.selected = index;
    utility_->QueryRegion();
    EXPECT_EQ(ui_.statusText, std::string("Drive's region is 2.\r\n") + cases[index].discLine);
    EXPECT_EQ(ui_.EnabledChoices(), cases[index].enabledChoices);
    EXPECT_EQ(ui_.CheckedChoices(), "2") << "disc regions enable choices but check none";
    EXPECT_EQ(ui_.EnabledDiscs(), cases[index].enabledDiscs);
    EXPECT_EQ(ui_.CheckedDiscs(), cases[index].checkedDiscs);
  }
}

TEST_F(QueryTest, RefusedReportKeyClearsTheKeptStateAndStillReadsTheDisc) {
  Start(Machine({Drive('D', 0,
                       std::string(kRegion2) +
                           R"(, "faults": [{"opcode": "0xA4", "sense": "05-24-00",
                                                    "times": 1},
                                                   {"opcode": "0xA4", "transportFailure": true,
                                                    "times": 1}])"),
                 Drive('E', 1, R"("region": {"typeCode": 3, "userChanges": 0, "mask": "0xFE"})")}));
  // The state kept from another drive's query must not outlive a failed one.
  ui_.selected = 1;
  utility_->QueryRegion();
  ASSERT_EQ(zone::TypeCode(utility_->LastRpcState()), 3);
  ui_.selected = 0;
  ui_.statusText.clear();
  machine_->Log().Clear();
  ui_.SetChangesLeftText("label before");
  ui_.Pick(5);
  ui_.Choice(5).enabled = true;
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText, "Get drive region is failed.\r\nThis disc is allowed region 2\r\n");
  EXPECT_EQ(utility_->LastRpcState().typeCodeAndChanges, 0);
  EXPECT_EQ(utility_->LastRpcState().regionMask, 0);
  EXPECT_EQ(ui_.changesLeft, "label before");
  EXPECT_EQ(ui_.CheckedChoices(), "") << "the reset of the region controls still happens";
  EXPECT_EQ(ui_.EnabledChoices(), "2") << "only the disc's region";
  EXPECT_EQ(Commands(), (std::vector<std::string>{"A4", "AD"}));

  // A host that rejects the command (status good, call failed) is a failure too.
  ui_.statusText.clear();
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText, "Get drive region is failed.\r\nThis disc is allowed region 2\r\n");
  const zone::RpcState& kept = utility_->LastRpcState();
  EXPECT_EQ(kept.typeCodeAndChanges, 0);
  EXPECT_EQ(kept.regionMask, 0);
  EXPECT_EQ(kept.rpcScheme, 0);

  utility_->QueryRegion();  // the faults are used up
  EXPECT_EQ(utility_->LastRpcState().regionMask, 0xFD);
}

TEST_F(QueryTest, RefusedDiscReadLeavesTheIndicatorsDisabledButChecked) {
  Start(Machine({Drive('D', 0,
                       std::string(kRegion2) +
                           R"(, "faults": [{"opcode": "0xAD", "sense": "03-11-00",
                                                    "times": 1}])")}));
  ui_.Disc(2).checked = true;
  ui_.Disc(2).enabled = true;
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText, "Drive's region is 2.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(ui_.EnabledDiscs(), "");
  EXPECT_EQ(ui_.CheckedDiscs(), "2");
}

TEST_F(QueryTest, OpenFailureResetsTheControlsAndNoSelectionStopsBeforeAnything) {
  Start(Machine({Drive('D', 0, kRegion2)}));
  utility_->QueryRegion();
  ASSERT_EQ(ui_.CheckedChoices(), "2");
  ui_.statusText.clear();
  ui_.selected = drvcmd::kNoItem;
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText, "Valid Item is not selected.\r\n");
  EXPECT_EQ(ui_.CheckedChoices(), "2") << "no control changes without a selection";
  ui_.selected = 3;  // beyond the list
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText, "Valid Item is not selected.\r\nValid Item is not selected.\r\n");
  EXPECT_EQ(Commands(), (std::vector<std::string>{"A4", "AD"}));

  // The drive was listed, then went away.
  ASSERT_TRUE(machine_->SetDeviceOpenFails('D', true));
  ui_.statusText.clear();
  ui_.selected = 0;
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText, "Device open (D) is fail.\r\n");
  EXPECT_EQ(ui_.CheckedChoices(), "");
  EXPECT_EQ(ui_.EnabledChoices(), "");
  EXPECT_EQ(ui_.EnabledDiscs(), "");
  EXPECT_EQ(ui_.CheckedDiscs(), "2");
  EXPECT_EQ(ui_.changesLeft, "Regional code can be changed 4time(s)") << "label untouched";
}

}  // namespace
}  // namespace zonetest
