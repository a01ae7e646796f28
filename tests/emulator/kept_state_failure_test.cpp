// A drive change that the machine cannot keep, seen through each program's own
// sequence in both builds: a failure the user sees, with a box that names the
// file and the reason, and nothing changed on the drive.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/spti/spti_transport.h"
#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"
#include "flash/update_procedure.h"
#include "pace/speed_control.h"
#include "tests/flash/update_run_test.h"
#include "tests/support/fake_region_ui.h"
#include "tests/support/fake_speed_ui.h"
#include "zone/region_utility.h"

namespace {

using testsupport::ShownMessage;

// One KD-410 drive without a disc on an ATAPI adapter: D:, ASPI 0:0.
constexpr char kMachine[] = R"({
  "adapters": [{"number": 0, "identifier": "ESDI_506"}],
  "devices": [{"letter": "D", "adapter": 0, "target": 0, "model": "KD-410"}]
})";

class KeptStateFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("emu_kept_failure_") + test->name() + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    // The state file's folder is a regular file: no lock file can be made
    // there, for root too.
    std::ofstream(folder_ / "plain") << "not a folder";
    stateFile_ = (folder_ / "plain" / "state.json").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::unique_ptr<emu::EmulatedMachine> Load(const std::string& json) {
    emu::MachineOptions options;
    options.fakeClock = true;
    options.stateFile = stateFile_;
    std::string error;
    auto machine = emu::EmulatedMachine::LoadText(json, "machine.json", options, &error);
    EXPECT_NE(machine, nullptr) << error;
    return machine;
  }

  // The box the program's notice shows for the change the machine could not
  // keep; its text ends in the system's own words for the failed open.
  ShownMessage NotKeptBox() const {
    return {"The change to drive D: cannot be kept.\r\n" + stateFile_ +
                ".lock: cannot open the lock file: ",
            "", drvcmd::kMbOk | drvcmd::kMbIconHand};
  }

  std::filesystem::path folder_;
  std::string stateFile_;
};

std::vector<std::string> Texts(const std::vector<ShownMessage>& messages) {
  std::vector<std::string> texts;
  for (const ShownMessage& message : messages) texts.push_back(message.text);
  return texts;
}

// The not-kept box: its text starts as expected and names a reason after it.
void ExpectBox(const ShownMessage& shown, const ShownMessage& expected) {
  EXPECT_EQ(shown.text.rfind(expected.text, 0), 0u) << shown.text;
  EXPECT_GT(shown.text.size(), expected.text.size()) << shown.text;
  EXPECT_EQ(shown.caption, expected.caption);
  EXPECT_EQ(shown.style, expected.style);
}

TEST_F(KeptStateFailure, SpeedModeForGoodFailsInBothBuilds) {
  for (const pace::PaceVariant* variant :
       {&pace::PaceVariant::Spti(), &pace::PaceVariant::Aspi()}) {
    SCOPED_TRACE(variant->applicationTitle);
    auto machine = Load(kMachine);
    ASSERT_NE(machine, nullptr);
    testsupport::FakeSpeedUi ui;
    pace::SpeedControl control(*variant, *machine, ui);
    ASSERT_EQ(control.Start(), drvcmd::kStartOk);
    drvcmd::DriveCombo combo;
    control.ScanDrives(combo);
    ASSERT_EQ(combo.labels.size(), 1u);
    ui.drive = 0;

    EXPECT_NE(control.ChangeDriveMode(pace::DriveMode::kQuietPermanent), 0);
    char failure[128];
    std::snprintf(failure, sizeof failure, variant->quietPermanentFailureFormat, 0x04, 0x0C, 0x00);
    ASSERT_EQ(ui.Messages().size(), 2u) << ::testing::PrintToString(Texts(ui.Messages()));
    ExpectBox(ui.Messages()[0], NotKeptBox());
    EXPECT_EQ(ui.Messages()[1].text, failure);
    EXPECT_EQ(ui.box, failure);
    EXPECT_EQ(machine->DriveAtLetter('D')->Speed().permanentMode, emu::SpeedMode::kPerformance);
  }
}

TEST_F(KeptStateFailure, RegionChangeFailsWithABoxAndTheQueryShowsTheDriveUnchanged) {
  auto machine = Load(kMachine);
  ASSERT_NE(machine, nullptr);
  testsupport::FakeRegionUi ui;
  zone::RegionUtility utility(*machine, ui);
  ASSERT_EQ(utility.Start(), 0);
  utility.ScanDrives();
  ui.selected = 0;
  utility.QueryRegion();
  ui.Pick(3);
  ui.statusText.clear();

  EXPECT_EQ(utility.ChangeRegion(), zone::ChangeOutcome::kSendFailed);
  ASSERT_EQ(ui.Messages().size(), 1u);
  ExpectBox(ui.Messages()[0], NotKeptBox());
  EXPECT_EQ(ui.statusText, "Drive has no region.\r\nGet disc region is failed.\r\n");
  EXPECT_EQ(ui.changesLeft, "Regional code can be changed 5time(s)");
}

TEST_F(KeptStateFailure, FirmwareUpdateFailsInBothBuildsAndTheDriveKeepsItsFirmware) {
  for (const flash::FlashVariant* variant :
       {&flash::FlashVariant::Spti(), &flash::FlashVariant::Aspi()}) {
    SCOPED_TRACE(variant->applicationTitle);
    auto machine = Load(flashtest::MachineJson());
    ASSERT_NE(machine, nullptr);
    const std::vector<std::uint8_t> memoryBefore(machine->DriveAtLetter('D')->Memory().begin(),
                                                 machine->DriveAtLetter('D')->Memory().end());
    testsupport::FakeUpdaterUi ui;
    std::unique_ptr<drvcmd::Transport> transport;
    if (drvcmd::UsesAspi(variant->program)) {
      transport = std::make_unique<drvcmd::AspiTransport>(variant->program, *machine, ui);
    } else {
      transport = std::make_unique<drvcmd::SptiTransport>(variant->program, *machine, ui);
    }
    ASSERT_EQ(transport->StartTransport(), 0);
    flash::FirmwareImage image;
    image.bytes = transport->ImageBuffer().first(flash::kImageSize);
    image.working = transport->DataBuffer().first(flash::kLoadedImageSize);
    flashtest::PutImage(image.bytes, flashtest::kKd410.model);
    flashtest::FakeSelection selection;
    selection.Select(*variant, flashtest::kKd410);
    drvcmd::DriveIdentity drive;
    flash::ImageIdentity driveIdentity{};
    flash::ControllerType controller{};
    flash::UpdateSession session{*variant, *transport,    ui,        machine->Timer(), image,
                                 drive,    driveIdentity, controller};
    flash::RunFirmwareUpdate(session, selection);

    ASSERT_EQ(ui.Messages().size(), 2u) << ::testing::PrintToString(Texts(ui.Messages()));
    ExpectBox(ui.Messages()[0], NotKeptBox());
    EXPECT_EQ(ui.Messages()[1].text, "Sense Code : 04-0c-00");
    EXPECT_TRUE(ui.progress.calls.empty()) << "no wait for a programming that failed";
    const auto memory = machine->DriveAtLetter('D')->Memory();
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), memoryBefore.begin()));
    transport->StopTransport();
  }
}

}  // namespace
