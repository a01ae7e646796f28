// Whole update runs through the Updater on the emulated machine, both builds:
// the commands on the wire, the status text, the boxes and every refusal.
#include "tests/flash/update_run_test.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "drvcmd/spti/spti_transport.h"
#include "flash/update_procedure.h"
#include "flash/updater.h"

namespace {

using flash::FlashVariant;
using flashtest::kKd16x;
using flashtest::kKd310;
using flashtest::kKd320;
using flashtest::kKd410;
using flashtest::kKd600;
using flashtest::kLumax;
using flashtest::TestDrive;

constexpr char kFileTypeMismatch[] = "This file is not available.\r\nFile type is mismatched.\r\n";
constexpr char kCpuTypeMismatch[] = "This file is not available.\r\nCPU type is mismatched.\r\n";

// Notes how many commands the drives had received at each status box refresh.
class LoggingUi : public testsupport::FakeUpdaterUi {
 public:
  void RefreshStatusBox() override {
    FakeUpdaterUi::RefreshStatusBox();
    if (log != nullptr) refreshedAfter.push_back(log->Entries().size());
  }
  const emu::CommandLog* log = nullptr;
  std::vector<std::size_t> refreshedAfter;
};

// The machine's services, with its clock's sleeps noted against the command log.
class SleepRecordingPlatform : public platform::Platform, public platform::Clock {
 public:
  explicit SleepRecordingPlatform(emu::EmulatedMachine& machine) : machine_(machine) {}
  platform::Kernel& Kernel32() override { return machine_.Kernel32(); }
  platform::PassThroughService& PassThrough() override { return machine_.PassThrough(); }
  platform::AspiManager& Aspi() override { return machine_.Aspi(); }
  platform::Clock& Timer() override { return *this; }
  platform::SystemInfoComponentFactory& SystemInfoComponents() override {
    return machine_.SystemInfoComponents();
  }
  platform::ProcessService& Processes() override { return machine_.Processes(); }
  platform::NativeSystem Native() override { return machine_.Native(); }

  platform::Uint timeBeginPeriod(platform::Uint period) override {
    return machine_.Timer().timeBeginPeriod(period);
  }
  platform::Uint timeEndPeriod(platform::Uint period) override {
    return machine_.Timer().timeEndPeriod(period);
  }
  platform::Dword timeGetTime() override { return machine_.Timer().timeGetTime(); }
  void Sleep(platform::Dword milliseconds) override {
    if (milliseconds != flash::kWaitPollMilliseconds) {
      otherSleeps.push_back({milliseconds, machine_.Log().Entries().size()});
    }
    machine_.Timer().Sleep(milliseconds);
  }

  // Sleeps other than the timed wait's polling: (milliseconds, commands logged before).
  std::vector<std::pair<platform::Dword, std::size_t>> otherSleeps;

 private:
  emu::EmulatedMachine& machine_;
};

class UpdateRunTest : public ::testing::TestWithParam<const FlashVariant*> {
 protected:
  void SetUp() override { Boot(flashtest::MachineJson()); }

  void Boot(const std::string& json) {
    updater.reset();
    ui.statusText.clear();
    ui.box.clear();
    ui.notice.messages.clear();
    ui.refreshedAfter.clear();
    ui.confirmCalls.clear();
    ui.progress = testsupport::FakeProgressWindow{};
    machine = flashtest::LoadMachine(json);
    ASSERT_NE(machine, nullptr);
    ui.log = &machine->Log();
    system = std::make_unique<SleepRecordingPlatform>(*machine);
    updater = std::make_unique<flash::Updater>(Variant(), *system, ui);
    ASSERT_EQ(updater->Start(), 0);
  }

  const FlashVariant& Variant() const { return *GetParam(); }
  bool Aspi() const { return drvcmd::UsesAspi(Variant().program); }

  void Run(const TestDrive& drive, const char* imageModel,
           emu::BrokenVariant broken = emu::BrokenVariant::kNone) {
    if (imageModel != nullptr) flashtest::PutImage(updater->Image().bytes, imageModel, broken);
    selection.Select(Variant(), drive);
    machine->Log().Clear();
    updater->RunFirmwareUpdate(selection);
  }

  std::vector<std::string> Commands() const { return flashtest::Describe(machine->Log()); }

  bool DriveLeftOpen() {
    auto* spti = dynamic_cast<drvcmd::SptiTransport*>(&updater->CommandTransport());
    return spti != nullptr && spti->DriveIsOpen();
  }

  std::string StartNotice() const { return Aspi() ? "\r\nStart update\r\n" : "Start update\r\n"; }

  std::unique_ptr<emu::EmulatedMachine> machine;
  std::unique_ptr<SleepRecordingPlatform> system;
  LoggingUi ui;
  std::unique_ptr<flash::Updater> updater;
  flashtest::FakeSelection selection;
};

std::string Text(const std::uint8_t* bytes, std::size_t length) {
  return std::string(reinterpret_cast<const char*>(bytes), length);
}

TEST_P(UpdateRunTest, GoodUpdateWritesVerifiesAndReportsSuccess) {
  Run(kKd410, "KD-410");

  EXPECT_EQ(Commands(), flashtest::GoodRunCommands());
  EXPECT_EQ(ui.statusText, StartNotice() + "Verify OK\r\nEnd update\r\n");
  EXPECT_EQ(ui.box, ui.statusText);
  // pass-through announces the start before WRITE BUFFER 30h, ASPI after the tail block.
  const std::vector<std::size_t> refreshes =
      Aspi() ? std::vector<std::size_t>{8, 13} : std::vector<std::size_t>{2, 13};
  EXPECT_EQ(ui.refreshedAfter, refreshes);
  // The 10 ms pause follows the start notice, wherever the build places it.
  using Sleep = std::pair<platform::Dword, std::size_t>;
  EXPECT_EQ(system->otherSleeps, (std::vector<Sleep>{{10, refreshes[0]}}));

  ASSERT_EQ(ui.confirmCalls.size(), 1u);
  EXPECT_EQ(Text(ui.confirmCalls[0].oldIdentity.data(), 28), "TAVREON DVD-ROM KD-410  1.00");
  EXPECT_EQ(Text(ui.confirmCalls[0].newIdentity.data(), 28), "TAVREON DVD-ROM KD-410  1.05");

  ASSERT_EQ(ui.progress.texts.size(), 29u);
  EXPECT_EQ(ui.progress.texts.front(), "Remaining time to complete about 29 sec");
  EXPECT_EQ(ui.progress.texts.back(), "Remaining time to complete about 1 sec");
  EXPECT_FALSE(ui.progress.visible);

  if (Aspi()) {
    EXPECT_TRUE(ui.Messages().empty());
  } else {
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "Congratulations ! Update is completed successfully.\r\n");
    EXPECT_EQ(ui.Messages()[0].caption, "Congratulations !");
    EXPECT_EQ(ui.Messages()[0].style, drvcmd::kMbOk);
  }
  EXPECT_FALSE(DriveLeftOpen());
}

TEST_P(UpdateRunTest, FirmwareCommandsCarryEachBuildsTransportSettings) {
  Run(kKd410, "KD-410");
  const auto& entries = machine->Log().Entries();
  ASSERT_EQ(entries.size(), 13u);
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const emu::LoggedCommand& entry = entries[i];
    SCOPED_TRACE(flashtest::Describe(entry));
    const bool read = entry.cdb[0] == 0x3C;
    const bool carriesData = read || entry.cdb[2] == 0xFF;
    if (Aspi()) {
      EXPECT_EQ(entry.path, emu::CommandPath::kAspi);
      EXPECT_EQ(entry.cdbLength, 10);
      EXPECT_EQ(entry.srbFlags, read ? 0x48 : carriesData ? 0x50 : 0x40);
      EXPECT_EQ(entry.srbSenseLen, 0);
      EXPECT_EQ(entry.waitMilliseconds, 0xFFFFFFFFu);
    } else {
      EXPECT_EQ(entry.path, emu::CommandPath::kPassThroughDirect);
      EXPECT_EQ(entry.cdbLength, 12);
      EXPECT_EQ(entry.cdb[10], 0);
      EXPECT_EQ(entry.cdb[11], 0);
      EXPECT_EQ(entry.dataIn, read ? 1 : 0);
      EXPECT_EQ(entry.timeOutValue, 5u);
      EXPECT_EQ(entry.senseInfoLength, 0);
    }
    EXPECT_EQ(entry.transferLength, carriesData ? ((entry.cdb[7] << 8) | entry.cdb[8]) : 0u);
  }
  // The tail block carries the marker in the 16 bytes after it.
  const emu::LoggedCommand& tail = entries[7];
  ASSERT_EQ(tail.dataOut.size(), 0x1010u);
  EXPECT_EQ(Text(tail.dataOut.data() + 0x1000, 3), "WIN");
}

TEST_P(UpdateRunTest, ImageBaseAndTailFollowGenerationAndController) {
  struct Case {
    TestDrive drive;
    std::uint32_t imageBase;
    std::uint32_t tailOffset;
  };
  const Case cases[] = {{kKd320, 0x20000, 0x41000}, {kKd310, 0x00000, 0x40000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.drive.model);
    Boot(flashtest::MachineJson());
    Run(c.drive, c.drive.model);
    const auto& entries = machine->Log().Entries();
    ASSERT_EQ(entries.size(), 13u);
    const auto image = updater->Image().bytes;
    for (int chunk = 0; chunk < 4; ++chunk) {
      const auto& sent = entries[3 + chunk].dataOut;
      ASSERT_EQ(sent.size(), 0x8000u);
      EXPECT_TRUE(
          std::equal(sent.begin(), sent.end(), image.begin() + c.imageBase + chunk * 0x8000))
          << "chunk " << chunk;
    }
    const auto& tail = entries[7].dataOut;
    ASSERT_EQ(tail.size(), 0x1010u);
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), image.begin() + c.tailOffset));
    EXPECT_EQ(Text(&image[c.tailOffset + 0x1000], 3), "WIN");
    EXPECT_EQ(ui.statusText, StartNotice() + "Verify OK\r\nEnd update\r\n");
  }
}

TEST_P(UpdateRunTest, WithoutAnImageNothingIsAskedOrSent) {
  Run(kKd410, nullptr);
  EXPECT_EQ(ui.box, "This file is not available\r\n");
  EXPECT_TRUE(Commands().empty());
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(selection.takes, 0);
}

TEST_P(UpdateRunTest, WithoutASelectionTheRunStopsAtTheCheck) {
  flashtest::PutImage(updater->Image().bytes, "KD-410");
  machine->Log().Clear();
  updater->RunFirmwareUpdate(selection);  // nothing selected
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "You did not select an available drive.");
  EXPECT_TRUE(Commands().empty());
  EXPECT_TRUE(ui.confirmCalls.empty());
}

TEST_P(UpdateRunTest, ControllerMismatchIsRefusedWithEachBuildsText) {
  Run(kKd410, "KD-410", emu::BrokenVariant::kWrongController);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, Aspi() ? kCpuTypeMismatch : kFileTypeMismatch);
  EXPECT_EQ(ui.Messages()[0].caption, "Caution !");
  EXPECT_EQ(ui.Messages()[0].style, drvcmd::kMbOkCancel);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"12", "3C 80 001000 0020"}));
  EXPECT_TRUE(ui.confirmCalls.empty());
  EXPECT_FALSE(DriveLeftOpen());
}

TEST_P(UpdateRunTest, IdentityMismatchIsRefusedWithTheFileTypeText) {
  Run(kKd410, "KD-410", emu::BrokenVariant::kWrongFamily);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, kFileTypeMismatch);
  EXPECT_EQ(ui.Messages()[0].caption, "Caution !");
  EXPECT_EQ(ui.Messages()[0].style, drvcmd::kMbOkCancel);
  EXPECT_FALSE(flashtest::SentWriteBuffer(machine->Log()));
}

TEST_P(UpdateRunTest, DriveWithItsIdentityOnlyAt100IsNeverWritten) {
  Run(kLumax, "KD-4200-LUMAX");
  EXPECT_EQ(Commands(), (std::vector<std::string>{"12", "3C 80 001000 0020", "3C 80 000100 0020"}));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, Aspi() ? kCpuTypeMismatch : kFileTypeMismatch);
  EXPECT_EQ(ui.Messages()[0].caption, "Caution !");
}

TEST_P(UpdateRunTest, CancelInTheConfirmationSendsNoWriteBuffer) {
  ui.confirmAnswers.push_back(drvcmd::kIdCancel);
  Run(kKd410, "KD-410");
  EXPECT_EQ(ui.confirmCalls.size(), 1u);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"12", "3C 80 001000 0020"}));
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(ui.statusText, "");
  EXPECT_FALSE(DriveLeftOpen());
}

TEST_P(UpdateRunTest, WithoutAnInquiryTemplateTheConfirmationKeepsTheEarlierNewFirmware) {
  ui.confirmAnswers = {drvcmd::kIdCancel, drvcmd::kIdCancel, drvcmd::kIdCancel};
  Run(kKd410, "KD-410", emu::BrokenVariant::kNoTemplate);
  Run(kKd410, "KD-410");
  Run(kKd410, "KD-410", emu::BrokenVariant::kNoTemplate);
  ASSERT_EQ(ui.confirmCalls.size(), 3u);
  EXPECT_EQ(ui.confirmCalls[0].newIdentity, flash::FirmwareIdentity{}) << "none found yet";
  EXPECT_EQ(Text(ui.confirmCalls[1].newIdentity.data(), 28), "TAVREON DVD-ROM KD-410  1.05");
  EXPECT_EQ(ui.confirmCalls[2].newIdentity, ui.confirmCalls[1].newIdentity);
}

TEST_P(UpdateRunTest, VerifyNamesTheRegionOfADifferenceButIgnoresTheUnitBytes) {
  struct Case {
    const char* offset;
    int code;
  };
  const Case cases[] = {{"0x3FF", -1}, {"0x450", -2}, {"0x8000", -3}, {"0x420", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    Boot(flashtest::MachineJson(std::string(", \"corruptDuringProgramming\": {\"offset\": \"") +
                                c.offset + "\"}"));
    Run(kKd410, "KD-410");
    char line[64];
    std::snprintf(line, sizeof line, Aspi() ? "Verify Error (%d)\r\n" : "Verify Error : %d\r\n",
                  c.code);
    const std::string expected = c.code == 0 ? "Verify OK\r\n" : line;
    EXPECT_EQ(ui.statusText, StartNotice() + expected + "End update\r\n");
    if (!Aspi()) {
      ASSERT_EQ(ui.Messages().size(), 1u);
      if (c.code == 0) {
        EXPECT_EQ(ui.Messages()[0].caption, "Congratulations !");
      } else {
        EXPECT_EQ(ui.Messages()[0].text, "Sorry ! Update is failed.\r\n");
        EXPECT_EQ(ui.Messages()[0].caption, "Update is failed.");
        EXPECT_EQ(ui.Messages()[0].style, drvcmd::kMbOk | drvcmd::kMbIconHand);
      }
    } else {
      EXPECT_TRUE(ui.Messages().empty());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothUpdaters, UpdateRunTest,
                         ::testing::Values(&FlashVariant::Spti(), &FlashVariant::Aspi()),
                         flashtest::BuildName);

class UpdateRunSptiTest : public UpdateRunTest {};

TEST_P(UpdateRunSptiTest, UnsupportedDriveIsRefusedAndClosed) {
  Run(kKd600, "KD-600");
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "This drive is not supported by this program");
  EXPECT_EQ(Commands(), (std::vector<std::string>{"12"}));
  EXPECT_FALSE(DriveLeftOpen());
}

TEST_P(UpdateRunSptiTest, ADriveLockedByAnotherProgramIsNotWritten) {
  platform::PassThroughService& devices = machine->PassThrough();
  const platform::Handle other = devices.CreateFileA(
      "\\\\.\\D:", platform::kGenericRead | platform::kGenericWrite,
      platform::kFileShareRead | platform::kFileShareWrite, platform::kOpenExisting, 0);
  ASSERT_NE(other, platform::kInvalidHandleValue);
  ASSERT_EQ(devices.LockDevice(other), 0);

  Run(kKd410, "KD-410");
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "The drive is in use by another program.");
  EXPECT_EQ(Commands(), (std::vector<std::string>{"12"}));
  EXPECT_FALSE(DriveLeftOpen());
  devices.CloseHandle(other);
}

TEST_P(UpdateRunSptiTest, FinishThatFailsInTheTransportShowsOnlyTheSystemText) {
  Boot(flashtest::MachineJson(
      R"(, "faults": [{"opcode": "0x3B", "byte2": "0x42", "transportFailure": true}])"));
  Run(kKd410, "KD-410");
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text,
            "The request could not be performed because of an I/O device error.\r\n");
  const std::vector<std::string> good = flashtest::GoodRunCommands();
  // No REQUEST SENSE, no wait and no read-back after it.
  EXPECT_EQ(Commands(), std::vector<std::string>(good.begin(), good.begin() + 9));
  EXPECT_TRUE(ui.progress.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(PassThrough, UpdateRunSptiTest, ::testing::Values(&FlashVariant::Spti()),
                         flashtest::BuildName);

class UpdateRunAspiTest : public UpdateRunTest {};

TEST_P(UpdateRunAspiTest, UnsupportedDriveIsOnlyWarnedAboutAndUpdated) {
  Run(kKd16x, "KD-16X");
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "This drive is not supported by this program");
  EXPECT_EQ(Commands(), flashtest::GoodRunCommands());
  EXPECT_EQ(ui.statusText, "\r\nStart update\r\nVerify OK\r\nEnd update\r\n");
}

INSTANTIATE_TEST_SUITE_P(Aspi, UpdateRunAspiTest, ::testing::Values(&FlashVariant::Aspi()),
                         flashtest::BuildName);

}  // namespace
