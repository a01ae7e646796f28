// Both speed utility windows on an emulated machine, through whichever window
// host this test binary has: start-up per build, the real buttons, the status
// box, the message boxes, the About entry and the ways the window ends.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"
#include "pace/window/speed_program.h"
#include "resources/pace/pace_resource_ids.h"
#include "tests/support/window_test_machine.h"
#include "tests/window/recording_window_system.h"
#include "tests/window/pace_window_machine.h"
#include "tests/window/window_test_host.h"

namespace {

using pace::SpeedWindowVariant;
namespace ids = resources;

constexpr const char* kMachine = window_test::kPaceMachine;

constexpr char kNoDrivesMachine[] = R"({"aspi": {"manager": "missing"}, "devices": []})";

constexpr char kDriveSpeeds[] =
    "Current Speed = 2816kbytes/s(16X)\r\nMaximum Speed = 5540kbytes/s(31X)";

using window_test::RecordingWindowSystem;

std::vector<std::string> Entries(const window_test::WindowDriver& window, int id) {
  std::vector<std::string> entries;
  for (int i = 0; i < window.ListCount(id); ++i) entries.push_back(window.ListText(id, i));
  return entries;
}

class PaceWindowCases : public testing::TestWithParam<const SpeedWindowVariant*> {
 protected:
  const SpeedWindowVariant& Variant() const { return *GetParam(); }
  bool IsAspi() const { return &Variant() == &SpeedWindowVariant::Aspi(); }
  int DriveList() const { return Variant().templates.driveListId; }

  // Starts the program on a machine and opens its window; false when start-up failed.
  bool Start(const char* machineJson) {
    window_.reset();
    program_.reset();  // a program never outlives the machine it runs on
    machine_ = testsupport::LoadWindowTestMachine(machineJson);
    if (machine_ == nullptr) return false;
    program_ = std::make_unique<pace::SpeedProgram>(windows_, *machine_, Variant());
    if (program_->Start() != 0) return false;
    window_ = window_test::Drive(program_->Window());
    machine_->Log().Clear();
    return true;
  }

  void TearDown() override {
    window_.reset();
    program_.reset();
  }

  window_test::WindowDriver& Window() { return *window_; }
  std::string StatusBox() { return window_->Text(ids::kIdcSpeedStatusBox); }

  RecordingWindowSystem windows_{window_test::System()};
  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<pace::SpeedProgram> program_;
  std::unique_ptr<window_test::WindowDriver> window_;
};

TEST_P(PaceWindowCases, StartsWithTheDrivesListedAndTheFirstEntriesSelected) {
  ASSERT_TRUE(Start(kMachine));
  if (IsAspi()) {
    EXPECT_EQ(Entries(Window(), DriveList()),
              (std::vector<std::string>{"ID=0 : TAVREON DVD-ROM KD-310   ESDI_506",
                                        "ID=1 : TAVREON DVD-ROM KD-410   ESDI_506"}));
  } else {
    EXPECT_EQ(Entries(Window(), DriveList()),
              (std::vector<std::string>{"D: TAVREON DVD-ROM KD-310   (C/DVD-ROM)",
                                        "E: TAVREON DVD-ROM KD-410   (C/DVD-ROM)"}));
  }
  EXPECT_EQ(Window().ListSelection(DriveList()), 0);
  EXPECT_EQ(Window().Text(DriveList()), Window().ListText(DriveList(), 0));
  EXPECT_EQ(Entries(Window(), ids::kIdcExtractionList),
            (std::vector<std::string>{"Maximum Speed", "4X", "8X", "10X", "12X", "16X"}));
  EXPECT_EQ(Window().ListSelection(ids::kIdcExtractionList), 0);
  EXPECT_EQ(StatusBox(), "");
  EXPECT_TRUE(Window().Messages().empty());
  // No operation runs at start.
  EXPECT_TRUE(machine_->Log().Entries().empty());
}

TEST_P(PaceWindowCases, WithoutDrivesEachBuildStartsItsOwnWay) {
  ASSERT_TRUE(Start(kNoDrivesMachine));
  std::size_t shown = 0;
  if (IsAspi()) {
    ASSERT_EQ(Window().Messages().size(), 1u);
    EXPECT_EQ(Window().Messages()[0].text, "No ATAPI I/F found.");
    EXPECT_EQ(Entries(Window(), DriveList()), (std::vector<std::string>{"No I/F adapter"}));
    EXPECT_EQ(Window().ListSelection(ids::kIdcExtractionList), -1);
    shown = 1;
  } else {
    EXPECT_TRUE(Window().Messages().empty());
    EXPECT_EQ(Window().ListCount(DriveList()), 0);
    EXPECT_EQ(Window().ListSelection(ids::kIdcExtractionList), 0);
  }
  EXPECT_EQ(Window().ListSelection(DriveList()), -1);

  // Every button says so; pacespti's Performance Mode (Permanent) in a box.
  for (const int button :
       {ids::kIdcQuietTemporary, ids::kIdcQuietPermanent, ids::kIdcPerformanceTemporary,
        ids::kIdcDriveInformation, ids::kIdcExtractionSet}) {
    Window().Press(button);
    EXPECT_EQ(StatusBox(), "Valid Item is not selected.") << button;
  }
  Window().Press(ids::kIdcPerformancePermanent);
  if (IsAspi()) {
    EXPECT_EQ(StatusBox(), "Valid Item is not selected.");
    EXPECT_EQ(Window().Messages().size(), shown);
  } else {
    ASSERT_EQ(Window().Messages().size(), 1u);
    EXPECT_EQ(Window().Messages()[0].text, "Valid Item is not selected.");
    EXPECT_EQ(Window().Messages()[0].caption, "pacespti");
    EXPECT_EQ(StatusBox(), "");
  }
  EXPECT_TRUE(machine_->Log().Entries().empty());
}

TEST_P(PaceWindowCases, FailedBufferAllocationEndsTheProgramWithItsMessage) {
  EXPECT_FALSE(Start(R"({"memory": {"failAllocation": 1}, "devices": []})"));
  ASSERT_EQ(windows_.Messages().size(), 1u);
  EXPECT_EQ(windows_.Messages()[0].text, "Memory Allocation Error");
  EXPECT_EQ(windows_.Messages()[0].caption, "");
  EXPECT_EQ(windows_.OpenCount(), 0);
}

TEST_P(PaceWindowCases, DriveInformationButtonFillsTheStatusBoxAndTheNextReplacesIt) {
  ASSERT_TRUE(Start(kMachine));
  Window().Press(ids::kIdcDriveInformation);
  EXPECT_EQ(StatusBox(), kDriveSpeeds);
  // A second operation replaces the first one's text.
  Window().ChooseListItem(ids::kIdcExtractionList, 4);
  Window().Press(ids::kIdcExtractionSet);
  EXPECT_EQ(StatusBox(),
            IsAspi() ? "CD-DA extraction speed is changed to 2112kbytes/s(12X)."
                     : "CD-DA extraction speed is changed successfully\r\n2112kbytes/s(12X).");
  EXPECT_TRUE(Window().Messages().empty());
  EXPECT_EQ(machine_->DriveAtLetter('D')->Speed().extractionSpeed, 2112);
}

TEST_P(PaceWindowCases, ModeButtonAsksAboutTheSpindleAndCancelStillChangesTheMode) {
  ASSERT_TRUE(Start(kMachine));
  Window().PresetAnswer(drvcmd::kIdCancel);
  Window().Press(ids::kIdcPerformanceTemporary);
  ASSERT_EQ(Window().Messages().size(), 2u);
  EXPECT_EQ(Window().Messages()[0].text, "For safety, the spindle is stoped.");
  EXPECT_EQ(Window().Messages()[0].caption, "Attention");
  EXPECT_EQ(Window().Messages()[1].text, "Operation is canceled.");
  EXPECT_EQ(Window().Messages()[1].caption, "Cancel");
  EXPECT_EQ(StatusBox(), "Drive mode is changed to performance mode (temporary)");
  EXPECT_EQ(machine_->DriveAtLetter('D')->Speed().currentMode, emu::SpeedMode::kPerformance);

  // The second drive has no disc: no question.
  Window().ChooseListItem(DriveList(), 1);
  Window().Press(ids::kIdcQuietPermanent);
  EXPECT_EQ(Window().Messages().size(), 2u);
  EXPECT_EQ(StatusBox(), "Drive mode is changed to quiet mode (permanent)");
  EXPECT_EQ(machine_->DriveAtLetter('E')->Speed().permanentMode, emu::SpeedMode::kQuiet);
}

TEST_P(PaceWindowCases, FailureShowsTheErrorBoxAndTheSameText) {
  ASSERT_TRUE(Start(R"({"adapters": [{"number": 0, "identifier": "ESDI_506"}],
    "devices": [{"letter": "D", "adapter": 0, "target": 0, "model": "KD-410",
                 "faults": [{"opcode": "0xBB", "sense": "05-26-00", "times": "always"}]}]})"));
  Window().Press(ids::kIdcQuietPermanent);
  const std::string text = IsAspi() ? "Failed to change to quiet mode. (05-26-00)"
                                    : "Failed to change to quiet mode (permanent). (05-26-00)";
  ASSERT_EQ(Window().Messages().size(), 1u);
  EXPECT_EQ(Window().Messages()[0].text, text);
  EXPECT_EQ(Window().Messages()[0].caption, "Error");
  EXPECT_EQ(StatusBox(), text);
}

TEST_P(PaceWindowCases, TypingIntoTheExtractionFieldDropsItsSelection) {
  ASSERT_TRUE(Start(kMachine));
  Window().Type(ids::kIdcExtractionList, "20X");
  Window().Press(ids::kIdcExtractionSet);
  EXPECT_EQ(StatusBox(), "Don't select the available drive.");
  EXPECT_TRUE(machine_->Log().Entries().empty());
  // Nothing typed goes into the list; picking an entry again selects it.
  EXPECT_EQ(Window().ListCount(ids::kIdcExtractionList), 6);
  Window().ChooseListItem(ids::kIdcExtractionList, 0);
  Window().Press(ids::kIdcExtractionSet);
  EXPECT_EQ(StatusBox(),
            IsAspi() ? "CD-DA extraction speed is changed to maximum speed."
                     : "CD-DA extraction speed is changed \r\nto maximum speed successfully.");
}

TEST_P(PaceWindowCases, SystemMenuOpensTheAboutBoxAndCloseEndsTheWindow) {
  ASSERT_TRUE(Start(kMachine));
  Window().SystemCommand(ids::kIdmSpeedAboutBox);
  EXPECT_EQ(Window().ModalCaptions(), std::vector<std::string>{"About Speed Control Utility"});
  EXPECT_TRUE(Window().IsOpen());
  Window().SystemCommand(0xF060);  // SC_CLOSE
  EXPECT_FALSE(Window().IsOpen());
}

TEST_P(PaceWindowCases, ExitSendsTheCloseCommand) {
  ASSERT_TRUE(Start(kMachine));
  Window().Press(ids::kIdcSpeedExit);
  EXPECT_FALSE(Window().IsOpen());
  EXPECT_TRUE(Window().ModalCaptions().empty());
  EXPECT_TRUE(machine_->Log().Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, PaceWindowCases,
                         testing::Values(&SpeedWindowVariant::Spti(), &SpeedWindowVariant::Aspi()),
                         [](const testing::TestParamInfo<const SpeedWindowVariant*>& info) {
                           return std::string(info.param->procedure.applicationTitle);
                         });

}  // namespace
