// Both updaters on the Linux back-ends against a drive that behaves as a real
// one: it hands the sense of a refused firmware command to the kernel once,
// and the updater's REQUEST SENSE still reports it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "flash/firmware_commands.h"
#include "flash/updater.h"
#include "tests/flash/update_run_test.h"
#include "tests/support/fake_updater_ui.h"
#include "tests/support/linux_rig.h"

namespace {

using flash::FlashVariant;
using platform::testing::FakeFixedSense;

class UpdateLinuxTest : public ::testing::TestWithParam<const FlashVariant*> {
 protected:
  void SetUp() override {
    ASSERT_NE(rig.system, nullptr);
    // The drive's memory holds the firmware the image is made for.
    std::vector<std::uint8_t> memory(flash::kImageSize);
    flashtest::PutImage(memory, flashtest::kKd410.model);
    rig.drive.memory.assign(memory.begin(), memory.end());
    updater = std::make_unique<flash::Updater>(*GetParam(), *rig.system, ui);
    ASSERT_EQ(updater->Start(), 0);
    flashtest::PutImage(updater->Image().bytes, flashtest::kKd410.model);
    selection.Select(*GetParam(), flashtest::kKd410);
  }
  void TearDown() override { updater->Stop(); }

  // The opcodes and buffer IDs that reached the drive, as "3B 30".
  std::vector<std::string> SentToDrive() const {
    std::vector<std::string> sent;
    for (const auto& call : rig.io->calls) {
      char text[8];
      std::snprintf(text, sizeof text, "%02X %02X", call.cdb[0],
                    call.cdb.size() > 2 ? call.cdb[2] : 0);
      sent.emplace_back(text);
    }
    return sent;
  }

  testsupport::LinuxRig rig;
  testsupport::FakeUpdaterUi ui;
  std::unique_ptr<flash::Updater> updater;
  flashtest::FakeSelection selection;
};

TEST_P(UpdateLinuxTest, RefusedFirmwareCommandReportsTheDrivesSense) {
  rig.drive.refusals[flash::kOpWriteBuffer] = FakeFixedSense(0x05, 0x24, 0x00);
  updater->RunFirmwareUpdate(selection);

  ASSERT_EQ(ui.confirmCalls.size(), 1u) << "the identity read and checks passed";
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "Sense Code : 05-24-00");
  // The REQUEST SENSE was answered from the sense the kernel kept, not by the
  // drive, which had nothing left to give.
  EXPECT_EQ(rig.drive.requestSensesAnswered, 0);
  const auto sent = SentToDrive();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), "3B 30") << "nothing was sent after the refused start command";
}

TEST_P(UpdateLinuxTest, RefusedIdentityReadReportsTheDrivesSense) {
  rig.drive.refusals[flash::kOpReadBuffer] = FakeFixedSense(0x25, 0x24, 0x00);
  updater->RunFirmwareUpdate(selection);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "Sense Code : 25-24-00");
  EXPECT_TRUE(ui.confirmCalls.empty());
}

// Without CAP_SYS_RAWIO the kernel refuses WRITE BUFFER (EPERM) on a block
// node or a read-only open: the user is told it needs root, and the updater
// fails without inventing a sense code for a command the drive never saw.
TEST_P(UpdateLinuxTest, WriteBufferRefusedByTheKernelNeedsRoot) {
  rig.drive.kernelRefusals[flash::kOpWriteBuffer] = EPERM;
  updater->RunFirmwareUpdate(selection);

  ASSERT_EQ(ui.confirmCalls.size(), 1u);
  std::vector<std::string> texts;
  for (const auto& message : ui.Messages()) texts.push_back(message.text);
  // The pass-through updater shows why in its error box first, then the
  // system's text for each refused call.
  const bool spti = GetParam() == &FlashVariant::Spti();
  const std::vector<std::string> expected =
      spti ? std::vector<std::string>{rig.told.empty() ? "" : rig.told[0], "Access is denied.\r\n",
                                      "Access is denied.\r\n", "Request Sense Comand Failed."}
           : std::vector<std::string>{"Request Sense Comand Failed."};
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(rig.drive.requestSensesAnswered, 0);
  EXPECT_EQ(SentToDrive().back(), "3B 30") << "nothing sent after the refused start command";
  ASSERT_EQ(rig.told.size(), 1u);
  EXPECT_NE(
      rig.told[0].find("WRITE BUFFER (3Bh), the firmware command: on this node it needs root"),
      std::string::npos)
      << rig.told[0];
  EXPECT_NE(rig.told[0].find("sudo -E"), std::string::npos) << rig.told[0];
}

INSTANTIATE_TEST_SUITE_P(BothUpdaters, UpdateLinuxTest,
                         ::testing::Values(&FlashVariant::Spti(), &FlashVariant::Aspi()),
                         flashtest::BuildName);

}  // namespace
