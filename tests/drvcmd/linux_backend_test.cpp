// The command layer on the real Linux back-ends, against a drive that behaves
// as a real one: the sense a failure prints, the speed utility's limited wait,
// and the node each program may use.
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/generic_commands.h"
#include "drvcmd/spti/spti_transport.h"
#include "tests/support/linux_rig.h"
#include "tests/support/recording_notice.h"

namespace {

using drvcmd::ProgramId;
using platform::testing::FakeFixedSense;

constexpr drvcmd::DriveAddress kDrive{'D', 0, 0};
constexpr std::uint8_t kOpWriteBuffer = 0x3B;

// WRITE BUFFER with no data, as the updaters' start command goes out.
int SendWriteBuffer(drvcmd::Transport& transport) {
  drvcmd::ScsiRequest request;
  request.address = kDrive;
  request.cdb[0] = kOpWriteBuffer;
  request.cdbLength = 10;
  request.direction = drvcmd::DataDirection::kNone;
  request.passThroughDataIn = 0;
  request.buffer = transport.DataBuffer().data();
  request.timeoutSeconds = 5;
  return transport.ExecuteRequest(request);
}

class LinuxBackendTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(rig_.system, nullptr); }

  template <class T>
  T& Start(ProgramId program) {
    auto transport = std::make_unique<T>(program, *rig_.system, notice_);
    EXPECT_EQ(transport->StartTransport(), drvcmd::kStartOk);
    T& started = *transport;
    transport_ = std::move(transport);
    return started;
  }
  std::string LastTriple() const {
    return drvcmd::FormatSenseTriple(drvcmd::SenseTripleFrom(transport_->LastSense().data()));
  }

  testsupport::LinuxRig rig_;
  testsupport::RecordingNotice notice_;
  std::unique_ptr<drvcmd::Transport> transport_;
};

TEST_F(LinuxBackendTest, UpdatersReportTheSenseOfTheRefusedCommand) {
  rig_.drive.refusals[kOpWriteBuffer] = FakeFixedSense(0x05, 0x24, 0x00);
  auto& spti = Start<drvcmd::SptiTransport>(ProgramId::kFlashSpti);
  ASSERT_EQ(spti.OpenDrive('D'), 0);
  EXPECT_EQ(SendWriteBuffer(spti), drvcmd::kOutcomeCheckCondition);
  drvcmd::ReportSense(spti, kDrive);
  spti.CloseDrive();

  auto& aspi = Start<drvcmd::AspiTransport>(ProgramId::kFlashAspi);
  EXPECT_EQ(SendWriteBuffer(aspi), drvcmd::kOutcomeFailure);
  drvcmd::ReportSense(aspi, kDrive);

  ASSERT_EQ(notice_.messages.size(), 2u);
  EXPECT_EQ(notice_.messages[0].text, "Sense Code : 05-24-00");
  EXPECT_EQ(notice_.messages[1].text, "Sense Code : 05-24-00");
}

TEST_F(LinuxBackendTest, SpeedUtilitiesKeepTheTripleOfTheFailedCommand) {
  rig_.drive.refusals[drvcmd::kOpInquiry] = FakeFixedSense(0x25, 0x24, 0x00);
  auto& aspi = Start<drvcmd::AspiTransport>(ProgramId::kPaceAspi);
  EXPECT_EQ(drvcmd::SendInquiry(aspi, kDrive), drvcmd::kOutcomeFailure);
  EXPECT_EQ(LastTriple(), "25-24-00");

  auto& spti = Start<drvcmd::SptiTransport>(ProgramId::kPaceSpti);
  ASSERT_EQ(spti.OpenDrive('D'), 0);
  EXPECT_EQ(drvcmd::SendInquiry(spti, kDrive), drvcmd::kOutcomeCheckCondition);
  EXPECT_EQ(LastTriple(), "25-24-00");
  EXPECT_TRUE(notice_.messages.empty());
}

// A drive that does not answer its TEST UNIT READY: the speed utility's
// 1000 ms wait ends the command instead of the kernel's long time-out.
TEST_F(LinuxBackendTest, SpeedUtilityReadyTestGivesUpAfterItsWait) {
  auto& aspi = Start<drvcmd::AspiTransport>(ProgramId::kPaceAspi);
  rig_.drive.holdCommands = true;
  EXPECT_EQ(drvcmd::SendTestUnitReady(aspi, kDrive), drvcmd::kOutcomeFailure);
  EXPECT_EQ(aspi.RequestBlock()->SRB_Status, platform::kSsAborted);
  rig_.drive.WaitForCommands(1);  // the drive holds it: what the fake recorded is settled
  EXPECT_EQ(rig_.io->calls.size(), 1u) << "no sense is fetched for a request that never ended";

  rig_.drive.Release();
  EXPECT_EQ(drvcmd::SendInquiry(aspi, kDrive), drvcmd::kOutcomeGood);
  EXPECT_EQ(aspi.DataBuffer()[0], 0x05);
}

TEST_F(LinuxBackendTest, OnlyProgramsWithoutFirmwareCommandsUseTheBlockNode) {
  rig_.io->openErrors[rig_.sysfs.DevNode("sg0")] = EACCES;
  auto& updater = Start<drvcmd::SptiTransport>(ProgramId::kFlashSpti);
  EXPECT_EQ(updater.OpenDrive('D'), -1);

  for (const ProgramId program : {ProgramId::kZoneSpti, ProgramId::kPaceSpti}) {
    auto& utility = Start<drvcmd::SptiTransport>(program);
    ASSERT_EQ(utility.OpenDrive('D'), 0);
    EXPECT_EQ(drvcmd::SendInquiry(utility, kDrive), drvcmd::kOutcomeGood);
    EXPECT_EQ(rig_.io->calls.back().node, rig_.sysfs.DevNode("sr0"));
    utility.CloseDrive();
  }

  auto& paceaspi = Start<drvcmd::AspiTransport>(ProgramId::kPaceAspi);
  EXPECT_EQ(drvcmd::SendInquiry(paceaspi, kDrive), drvcmd::kOutcomeGood);
  EXPECT_EQ(rig_.io->calls.back().node, rig_.sysfs.DevNode("sr0"));
  // The updater's ASPI start fails without the node, and the user is told why.
  drvcmd::AspiTransport flashaspi(ProgramId::kFlashAspi, *rig_.system, notice_);
  EXPECT_EQ(flashaspi.StartTransport(), drvcmd::kStartAspiInitError);
  bool told = false;
  for (const auto& line : rig_.told) {
    told = told || (line.find(rig_.sysfs.DevNode("sg0")) != std::string::npos &&
                    line.find("cdrom group") != std::string::npos &&
                    line.find("firmware commands need the SCSI generic node") != std::string::npos);
  }
  EXPECT_TRUE(told);
}

}  // namespace
