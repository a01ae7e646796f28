// zonespti's window on emulated machines, through whichever window host this
// test binary has: the template's texts and start states, the first query at
// start, the real buttons and the drive list, the disc box and typed text,
// the placement of the region choices, the system menu and the ways it ends,
// and the start-up failure.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drvcmd/notice.h"
#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"
#include "resources/zone/zone_resource_ids.h"
#include "tests/window/recording_window_system.h"
#include "tests/window/window_test_host.h"
#include "tests/window/zone_window_machine.h"
#include "ui/host/window_host.h"
#include "zone/window/region_program.h"

namespace {

namespace ids = resources;

using window_test::kInitialDrive;
using window_test::kRegion2Drive;
using window_test::ZoneMachine;

using window_test::RecordingWindowSystem;

class ZoneWindowCases : public ::testing::Test {
 protected:
  // Starts the program on a machine and opens its window; false when start-up ended it.
  bool Start(const std::string& machineJson) {
    window_.reset();
    program_.reset();  // a program never outlives the machine it runs on
    emu::MachineOptions options;
    options.fakeClock = true;
    options.readOnly = true;
    std::string error;
    machine_ = emu::EmulatedMachine::LoadText(machineJson, "zone-window.json", options, &error);
    EXPECT_NE(machine_, nullptr) << error;
    if (machine_ == nullptr) return false;
    zone::SetUpRegionWindows(windows_);
    program_ = std::make_unique<zone::RegionProgram>(windows_, *machine_);
    if (program_->Start() != 0) return false;
    window_ = window_test::Drive(*program_->Open());
    return true;
  }

  void TearDown() override {
    window_.reset();
    program_.reset();
  }

  window_test::WindowDriver& Window() { return *window_; }
  ui::WindowHost& Host() { return program_->Open()->Host(); }
  std::string StatusBox() { return window_->Text(ids::kIdcZoneStatusBox); }
  std::string Label() { return window_->Text(ids::kIdcChangesLeft); }
  std::string EnabledChoices() {
    std::string regions;
    for (int region = 1; region <= 6; ++region) {
      if (window_->Enabled(ids::kRegionChoiceIds[region - 1])) regions += std::to_string(region);
    }
    return regions;
  }
  bool SentSendKey() {
    for (const emu::LoggedCommand& entry : machine_->Log().Entries()) {
      if (entry.cdb[0] == 0xA3) return true;
    }
    return false;
  }

  RecordingWindowSystem windows_{window_test::System()};
  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<zone::RegionProgram> program_;
  std::unique_ptr<window_test::WindowDriver> window_;
};

TEST_F(ZoneWindowCases, TemplateTextsAndStartStatesWithoutADrive) {
  ASSERT_TRUE(Start(ZoneMachine("")));
  EXPECT_EQ(Window().Text(ids::kIdcZoneTitle), "DVD-ROM Region Utility for Windows2000");
  EXPECT_EQ(Window().Text(ids::kIdcRegionChoice4), "Region 4 (Australlia, South America)");
  EXPECT_EQ(Window().Text(ids::kIdcRegionChoice5), "Region 5 (Russian, East Europe, Africa)");
  EXPECT_EQ(Window().Text(ids::kIdcDiscIndicator6), "Region 6");
  EXPECT_EQ(Window().Text(ids::kIdcDiscGroup), "Disc Regional Code");
  EXPECT_EQ(Window().Text(ids::kIdcGetRegion), "Get Region");

  // No drive: empty list, template states, empty status box.
  EXPECT_EQ(Window().ListCount(ids::kIdcZoneDriveList), 0);
  EXPECT_EQ(Window().ListSelection(ids::kIdcZoneDriveList), -1);
  EXPECT_EQ(Label(), "Regional code can can be changed 5 times");
  EXPECT_EQ(EnabledChoices(), "");
  for (const int indicator : ids::kDiscIndicatorIds) EXPECT_FALSE(Window().Enabled(indicator));
  EXPECT_EQ(StatusBox(), "");
  Window().Press(ids::kIdcGetRegion);
  EXPECT_EQ(StatusBox(), "Valid Item is not selected.\r\n");
  EXPECT_EQ(machine_->Log().Entries().size(), 0u);
  EXPECT_TRUE(Window().Messages().empty());
}

TEST_F(ZoneWindowCases, FirstDriveIsQueriedAtStart) {
  ASSERT_TRUE(Start(ZoneMachine(kRegion2Drive)));
  EXPECT_EQ(Window().ListSelection(ids::kIdcZoneDriveList), 0);
  EXPECT_EQ(Window().Text(ids::kIdcZoneDriveList).substr(0, 3), "E: ");
  EXPECT_EQ(Window().Text(ids::kIdcZoneDriveList), Window().ListText(ids::kIdcZoneDriveList, 0));
  EXPECT_EQ(StatusBox(), "Drive's region is 2.\r\nThis disc is allowed region 2\r\n");
  EXPECT_EQ(Label(), "Regional code can be changed 4time(s)");
  EXPECT_EQ(EnabledChoices(), "2");
  EXPECT_TRUE(Window().Checked(ids::kIdcRegionChoice2));
  EXPECT_FALSE(Window().Checked(ids::kIdcRegionChoice1));
  EXPECT_TRUE(Window().Checked(ids::kIdcDiscIndicator2));
  EXPECT_TRUE(Window().Enabled(ids::kIdcDiscIndicator2));
  EXPECT_FALSE(Window().Enabled(ids::kIdcDiscIndicator1));
}

TEST_F(ZoneWindowCases, SetRegionChangesTheChosenRegionAndSelectingADriveQueriesIt) {
  ASSERT_TRUE(Start(ZoneMachine(std::string(kInitialDrive) + "," + kRegion2Drive)));
  EXPECT_EQ(StatusBox(), "Drive has no region.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(EnabledChoices(), "123456");

  Window().Press(ids::kIdcRegionChoice3);
  Window().Press(ids::kIdcRegionChoice6);
  EXPECT_FALSE(Window().Checked(ids::kIdcRegionChoice3)) << "one radio group";
  EXPECT_TRUE(Window().Checked(ids::kIdcRegionChoice6));
  Window().Press(ids::kIdcSetRegion);
  EXPECT_EQ(
      StatusBox(),
      "Drive has no region.\r\nGet disc region is failed.\r\n"
      "Success to set regional code.\r\nDrive's region is 6.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(Label(), "Regional code can be changed 4time(s)");
  EXPECT_EQ(machine_->DriveAtLetter('D')->Region().mask, 0xDF);

  const std::string before = StatusBox();
  Window().ChooseListItem(ids::kIdcZoneDriveList, 1);
  EXPECT_EQ(StatusBox(), before + "Drive's region is 2.\r\nThis disc is allowed region 2\r\n");
  EXPECT_EQ(EnabledChoices(), "2");
  EXPECT_TRUE(Window().IsOpen());
}

TEST_F(ZoneWindowCases, DiscBoxCancelAndTypedDriveText) {
  ASSERT_TRUE(Start(ZoneMachine(
      R"({"letter": "D", "adapter": 0, "target": 0, "model": "KD-410",
          "region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"}})")));
  Window().PresetAnswer(drvcmd::kIdOk);
  Window().PresetAnswer(drvcmd::kIdCancel);
  Window().Press(ids::kIdcSetRegion);
  const std::vector<window_test::ShownMessage> shown = Window().Messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].caption, "Attention");
  EXPECT_EQ(shown[1].text, "Disc is not present !\r\nPlease insert approproiate disc");
  const std::string status = StatusBox();
  EXPECT_EQ(status.substr(status.find("Operation")),
            "Operation is canceled.\r\nDrive's region is 2.\r\nGet disc region is failed.\r\n");
  EXPECT_FALSE(SentSendKey());

  // Typed text selects no list item, and is never added to the list.
  const std::size_t before = StatusBox().size();
  Window().Type(ids::kIdcZoneDriveList, "X: something");
  EXPECT_EQ(Window().ListSelection(ids::kIdcZoneDriveList), -1);
  EXPECT_EQ(StatusBox().size(), before) << "typing runs nothing";
  Window().Press(ids::kIdcGetRegion);
  Window().Press(ids::kIdcSetRegion);
  EXPECT_EQ(StatusBox().substr(before),
            "Valid Item is not selected.\r\nValid Item is not selected.\r\n"
            "Valid Item is not selected.\r\n");
  EXPECT_EQ(Window().ListCount(ids::kIdcZoneDriveList), 1);

  // Picking the drive from the list again after typing selects it: a query runs.
  const std::size_t typed = StatusBox().size();
  Window().ChooseListItem(ids::kIdcZoneDriveList, 0);
  EXPECT_EQ(Window().Text(ids::kIdcZoneDriveList).substr(0, 3), "D: ");
  EXPECT_EQ(StatusBox().substr(typed), "Drive's region is 2.\r\nGet disc region is failed.\r\n");
}

TEST_F(ZoneWindowCases, RegionChoicesAreStackedInsideTheGroupAboveTheLabel) {
  ASSERT_TRUE(Start(ZoneMachine(kInitialDrive)));
  const ui::ItemRect group = Host().ItemPlace(ids::kIdcRegionGroup);
  const ui::ItemRect label = Host().ItemPlace(ids::kIdcChangesLeft);
  const auto inside = [&](const ui::ItemRect& item) {
    return item.x >= group.x && item.y > group.y && item.x + item.width <= group.x + group.width &&
           item.y + item.height <= group.y + group.height;
  };
  int previousBottom = group.y;
  int height = 0;
  for (int region = 1; region <= 6; ++region) {
    const ui::ItemRect choice = Host().ItemPlace(ids::kRegionChoiceIds[region - 1]);
    EXPECT_TRUE(inside(choice)) << region;
    EXPECT_GE(choice.y, previousBottom) << region;
    EXPECT_LE(choice.y + choice.height, label.y) << region;
    EXPECT_EQ(choice.x, group.x + 10) << region;
    EXPECT_EQ(choice.width, group.width - 15) << region;
    if (region > 1) {
      EXPECT_EQ(choice.height, height) << "rows of one height";
    }
    height = choice.height;
    previousBottom = choice.y + choice.height;
  }
  EXPECT_TRUE(inside(label));
  EXPECT_EQ(label.y, previousBottom + 5);
}

TEST_F(ZoneWindowCases, ExitAndTheSystemCloseEndTheWindowAboutOpensItsBox) {
  ASSERT_TRUE(Start(ZoneMachine(kInitialDrive)));
  Window().SystemCommand(ids::kIdmAboutZone);
  EXPECT_EQ(Window().ModalCaptions(), (std::vector<std::string>{"About zonespti"}));
  EXPECT_TRUE(Window().IsOpen());
  Window().Press(ids::kIdcZoneExit);
  EXPECT_FALSE(Window().IsOpen());
  EXPECT_EQ(program_->Open()->Result(), drvcmd::kIdCancel);

  ASSERT_TRUE(Start(ZoneMachine(kInitialDrive)));
  Window().SystemCommand(ui::kSysClose);
  EXPECT_FALSE(Window().IsOpen());
  EXPECT_EQ(program_->Open()->Result(), drvcmd::kIdCancel);
}

TEST_F(ZoneWindowCases, FailedAllocationShowsItsBoxAndOpensNoWindow) {
  EXPECT_FALSE(Start(ZoneMachine(kInitialDrive, R"("memory": {"failAllocation": 1},)")));
  ASSERT_EQ(windows_.Messages().size(), 1u);
  EXPECT_EQ(windows_.Messages()[0].text, "Memory Allocation Error");
  EXPECT_EQ(windows_.Messages()[0].caption, "");
  EXPECT_EQ(windows_.OpenCount(), 0);
  EXPECT_EQ(machine_->LiveMemoryBlocks(), 0u) << "what was allocated is released";
}

}  // namespace
