// A firmware command that fails at each position of a run, both builds: the
// message shown, the status text left, and that nothing is sent after it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/spti/spti_transport.h"
#include "flash/firmware_commands.h"
#include "flash/update_procedure.h"
#include "tests/flash/update_run_test.h"

namespace {

using flash::FlashVariant;

// Sends the n-th firmware command with a mode the drive refuses, so the drive
// itself ends it with a check condition and keeps the sense for REQUEST SENSE.
template <class Base>
class RefusingTransport : public Base {
 public:
  using Base::Base;
  int ExecuteRequest(drvcmd::ScsiRequest& request) override {
    const bool firmware =
        request.cdb[0] == flash::kOpWriteBuffer || request.cdb[0] == flash::kOpReadBuffer;
    if (firmware && firmwareCommands_++ == refuseAt) request.cdb[1] = kRefusedMode;
    return Base::ExecuteRequest(request);
  }
  int refuseAt = -1;

 private:
  static constexpr std::uint8_t kRefusedMode = 0x1F;
  int firmwareCommands_ = 0;
};

// Firmware command positions of a single-image run.
enum Position : int {
  kIdentityRead = 0,
  kStart = 1,
  kFirstChunk = 2,
  kLastChunk = 5,
  kTail = 6,
  kFinish = 7,
  kFirstVerifyRead = 8,
  kLastVerifyRead = 11,
};

class UpdateFailureTest : public ::testing::TestWithParam<const FlashVariant*> {
 protected:
  bool Aspi() const { return drvcmd::UsesAspi(GetParam()->program); }

  // One run with the firmware command at `position` refused, on the KD-410
  // drive unless another is named (with an image of its own model).
  void RunRefusingAt(int position, const flashtest::TestDrive& target = flashtest::kKd410) {
    transport.reset();  // it refers to the previous machine and UI
    machine = flashtest::LoadMachine(flashtest::MachineJson());
    ASSERT_NE(machine, nullptr);
    ui = std::make_unique<testsupport::FakeUpdaterUi>();
    if (Aspi()) {
      auto aspi = std::make_unique<RefusingTransport<drvcmd::AspiTransport>>(GetParam()->program,
                                                                             *machine, *ui);
      aspi->refuseAt = position;
      transport = std::move(aspi);
    } else {
      auto spti = std::make_unique<RefusingTransport<drvcmd::SptiTransport>>(GetParam()->program,
                                                                             *machine, *ui);
      spti->refuseAt = position;
      transport = std::move(spti);
    }
    ASSERT_EQ(transport->StartTransport(), 0);
    image = flash::FirmwareImage{};
    image.bytes = transport->ImageBuffer().first(flash::kImageSize);
    image.working = transport->DataBuffer().first(flash::kLoadedImageSize);
    flashtest::PutImage(image.bytes, target.model);
    markerBefore = std::string(image.bytes.begin() + 0x21000, image.bytes.begin() + 0x21003);
    selection.Select(*GetParam(), target);
    machine->Log().Clear();

    flash::UpdateSession session{*GetParam(), *transport, *ui,           machine->Timer(),
                                 image,       drive,      driveIdentity, controller};
    flash::RunFirmwareUpdate(session, selection);
    commands = flashtest::Describe(machine->Log());
  }

  std::string StartNotice() const { return Aspi() ? "\r\nStart update\r\n" : "Start update\r\n"; }

  void TearDown() override {
    if (transport) transport->StopTransport();
  }

  std::unique_ptr<emu::EmulatedMachine> machine;
  std::unique_ptr<testsupport::FakeUpdaterUi> ui;
  std::unique_ptr<drvcmd::Transport> transport;
  flash::FirmwareImage image;
  drvcmd::DriveIdentity drive;
  flash::ImageIdentity driveIdentity{};
  flash::ControllerType controller{};
  flashtest::FakeSelection selection;
  std::string markerBefore;
  std::vector<std::string> commands;
};

TEST_P(UpdateFailureTest, ARefusedCommandBeforeTheWaitIsReportedAndEndsTheRun) {
  for (int position = kIdentityRead; position <= kFinish; ++position) {
    SCOPED_TRACE(position);
    RunRefusingAt(position);
    // The refused command (position + 1 after INQUIRY), then only REQUEST SENSE.
    const std::vector<std::string> good = flashtest::GoodRunCommands();
    std::vector<std::string> expected(good.begin(), good.begin() + position + 2);
    expected.push_back("03");
    EXPECT_EQ(commands, expected);

    ASSERT_EQ(ui->Messages().size(), 1u);
    EXPECT_EQ(ui->Messages()[0].text, "Sense Code : 05-24-00");
    EXPECT_EQ(ui->Messages()[0].style, drvcmd::kMbOk);

    const bool announced = Aspi() ? position == kFinish : position >= kStart;
    EXPECT_EQ(ui->statusText, announced ? StartNotice() : "");
    EXPECT_TRUE(ui->progress.calls.empty());
    // The marker is written only once the drive accepted the start command.
    const std::string marker(image.bytes.begin() + 0x21000, image.bytes.begin() + 0x21003);
    EXPECT_EQ(marker, position <= kStart ? markerBefore : "WIN");
  }
}

TEST_P(UpdateFailureTest, ARefusedIdentityReadAtAnyPlaceIsReportedAndEndsTheRun) {
  struct Case {
    flashtest::TestDrive drive;  // where its identity block answers
    int position;                // the identity read refused
    std::vector<std::string> commands;
  };
  const std::vector<Case> cases = {
      {flashtest::kLumax, 1, {"12", "3C 80 001000 0020", "3C 80 000100 0020", "03"}},
      {flashtest::kOrbec,
       2,
       {"12", "3C 80 001000 0020", "3C 80 000100 0020", "3C 80 002000 0020", "03"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.drive.model);
    RunRefusingAt(c.position, c.drive);
    EXPECT_EQ(commands, c.commands);
    ASSERT_EQ(ui->Messages().size(), 1u);
    EXPECT_EQ(ui->Messages()[0].text, "Sense Code : 05-24-00");
    EXPECT_TRUE(ui->confirmCalls.empty());
    EXPECT_EQ(ui->statusText, "");
  }
}

TEST_P(UpdateFailureTest, ARefusedVerifyReadBecomesTheVerifyResultWithoutASenseReport) {
  for (int position = kFirstVerifyRead; position <= kLastVerifyRead; ++position) {
    SCOPED_TRACE(position);
    RunRefusingAt(position);
    const std::vector<std::string> good = flashtest::GoodRunCommands();
    EXPECT_EQ(commands, std::vector<std::string>(good.begin(), good.begin() + position + 2));
    const std::string line = Aspi() ? "Verify Error (-1)\r\n" : "Verify Error : 2\r\n";
    EXPECT_EQ(ui->statusText, StartNotice() + line + "End update\r\n");
    if (Aspi()) {
      EXPECT_TRUE(ui->Messages().empty());
    } else {
      ASSERT_EQ(ui->Messages().size(), 1u);
      EXPECT_EQ(ui->Messages()[0].caption, "Update is failed.");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothUpdaters, UpdateFailureTest,
                         ::testing::Values(&FlashVariant::Spti(), &FlashVariant::Aspi()),
                         flashtest::BuildName);

// Only the pass-through build opens the drive.
class UpdateFailureSptiTest : public UpdateFailureTest {};

TEST_P(UpdateFailureSptiTest, TheDriveIsClosedWhereverTheRunEnds) {
  for (int position : {static_cast<int>(kIdentityRead), static_cast<int>(kLastChunk),
                       static_cast<int>(kFinish), static_cast<int>(kLastVerifyRead)}) {
    SCOPED_TRACE(position);
    RunRefusingAt(position);
    EXPECT_FALSE(static_cast<drvcmd::SptiTransport&>(*transport).DriveIsOpen());
  }
}

INSTANTIATE_TEST_SUITE_P(PassThrough, UpdateFailureSptiTest,
                         ::testing::Values(&FlashVariant::Spti()), flashtest::BuildName);

}  // namespace
