// The ASPI manager over a fake sysfs and scripted device calls.
#include "platform/linux/linux_aspi.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/linux/aspi_exchange.h"
#include "platform/linux/linux_kernel.h"
#include "platform/win_errors.h"
#include "tests/platform/fake_device_io.h"
#include "tests/platform/fake_drive.h"
#include "tests/platform/fake_sysfs.h"

namespace platform {
namespace {

using testing::FakeDeviceIo;
using testing::FakeDrive;
using testing::FakeFixedSense;
using testing::FakeSysfs;

constexpr Dword kStatusShift = 8;

class LinuxAspiTest : public ::testing::Test {
 protected:
  LinuxAspiTest() {
    // Host 0: an ATAPI port with a drive; host 5: a SCSI card with two targets.
    sysfs_.AddOptical(0, 0, {0, 0, 0, 0}, "ahci");
    sysfs_.AddGeneric(2, {5, 0, 3, 0}, "sym53c8xx_driver_long");
    sysfs_.AddOptical(1, 1, {5, 0, 1, 0}, "sym53c8xx_driver_long");
  }

  SrbExecScsiCmd Inquiry(Byte adapter, Byte target) {
    SrbExecScsiCmd srb{};
    srb.SRB_Cmd = kScExecScsiCmd;
    srb.SRB_HaId = adapter;
    srb.SRB_Flags = kSrbEventNotify | kSrbDirIn;
    srb.SRB_Target = target;
    srb.SRB_BufLen = sizeof data_;
    srb.SRB_BufPointer = data_;
    srb.SRB_CDBLen = 6;
    srb.CDBByte[0] = 0x12;
    srb.CDBByte[4] = 0x60;
    return srb;
  }

  ~LinuxAspiTest() override { heldDrive_.Release(); }  // even when a test failed early

  // Sends a request block and, when it went to the drive, waits for it.
  Byte Run(SrbExecScsiCmd& srb) {
    const Handle event = kernel_.CreateEventA(kFalse, kFalse);
    srb.SRB_PostProc = reinterpret_cast<void*>(event);
    const auto sent = static_cast<Byte>(aspi_.SendASPI32Command(&srb));
    if (sent == kSsPending) {
      EXPECT_EQ(kernel_.WaitForSingleObject(event, kInfinite), kWaitObject0);
    }
    kernel_.CloseHandle(event);
    return srb.SRB_Status;
  }

  SrbExecScsiCmd RequestSense(Byte adapter, Byte target, Byte* area) {
    SrbExecScsiCmd srb = Inquiry(adapter, target);
    srb.CDBByte[0] = 0x03;
    srb.CDBByte[4] = 18;
    srb.SRB_BufLen = 18;
    srb.SRB_BufPointer = area;
    return srb;
  }

  void AnswerWith(FakeDrive& drive) {
    io_.responder = [&drive](const std::string&, sg_io_hdr_t* h) { return drive.Answer(h); };
  }

  FakeSysfs sysfs_;
  FakeDeviceIo io_;
  // A drive whose requests may outlive the test body: the manager, destroyed
  // first, waits for them.
  FakeDrive heldDrive_;
  LinuxKernel kernel_;
  std::vector<std::string> told_;
  LinuxAspiManager aspi_{kernel_, io_, sysfs_.Layout(),
                         [this](const std::string& line) { told_.push_back(line); }};
  Byte data_[96] = {};
};

TEST_F(LinuxAspiTest, LibraryLoadsOnlyByItsNameAndWithTheSgDriver) {
  EXPECT_NE(aspi_.LoadLibraryA("WNASPI32.DLL"), kNullHandle);
  EXPECT_NE(aspi_.LoadLibraryA("wnaspi32.dll"), kNullHandle);
  EXPECT_EQ(aspi_.LoadLibraryA("WNASPI.DLL"), kNullHandle);
  EXPECT_EQ(kernel_.GetLastError(), kErrorModNotFound);

  EXPECT_TRUE(told_.empty());

  std::filesystem::remove_all(sysfs_.Sys() / "class" / "scsi_generic");
  kernel_.SetLastError(0);
  EXPECT_EQ(aspi_.LoadLibraryA("WNASPI32.DLL"), kNullHandle);
  EXPECT_EQ(kernel_.GetLastError(), kErrorModNotFound);
  // Not only the manager's start-up text: the user learns the driver is missing.
  ASSERT_EQ(told_.size(), 1u);
  EXPECT_NE(told_[0].find("sg) is not loaded"), std::string::npos) << told_[0];
  EXPECT_NE(told_[0].find("modprobe sg"), std::string::npos) << told_[0];
}

TEST_F(LinuxAspiTest, SupportInfoCountsHostsWithGenericNodes) {
  EXPECT_EQ(aspi_.GetASPI32SupportInfo(), (Dword{kSsComp} << kStatusShift) | 2);
}

TEST_F(LinuxAspiTest, NoGenericNodeMeansNoAdapters) {
  FakeSysfs empty;
  std::filesystem::create_directories(empty.Sys() / "class" / "scsi_generic");
  LinuxAspiManager aspi(kernel_, io_, empty.Layout());
  EXPECT_EQ(aspi.GetASPI32SupportInfo(), Dword{kSsNoAdapters} << kStatusShift);
}

TEST_F(LinuxAspiTest, NodesThatNoneCanOpenFailInitialisationWithTheReason) {
  for (const char* node : {"sg0", "sg1", "sg2"}) io_.openErrors[sysfs_.DevNode(node)] = EACCES;
  EXPECT_EQ(aspi_.GetASPI32SupportInfo(), Dword{kSsFailedInit} << kStatusShift);
  EXPECT_EQ(kernel_.GetLastError(), kErrorAccessDenied);
  EXPECT_TRUE(io_.openFds.empty());
}

TEST_F(LinuxAspiTest, HostAdapterInquiryNamesTheInterface) {
  SrbHaInquiry srb{};
  srb.SRB_Cmd = kScHaInquiry;
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsComp);
  EXPECT_EQ(srb.SRB_Status, kSsComp);
  EXPECT_EQ(srb.HA_Count, 2);
  EXPECT_EQ(srb.HA_SCSI_ID, 7);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(srb.HA_ManagerId), 16),
            std::string("ASPI for WIN32\0\0", 16));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(srb.HA_Identifier), 8), "ESDI_506");
  EXPECT_EQ(srb.HA_Identifier[8], 0);

  srb = SrbHaInquiry{};
  srb.SRB_HaId = 1;
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsComp);
  // Cut at the field's 16 bytes, no terminator needed.
  EXPECT_EQ(std::string(reinterpret_cast<char*>(srb.HA_Identifier), 16), "sym53c8xx_driver");

  srb = SrbHaInquiry{};
  srb.SRB_HaId = 2;
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsInvalidHa);
  EXPECT_EQ(srb.HA_Count, 2);
}

TEST(HostIdentifier, LibataDriversAreTheAtapiInterface) {
  for (const char* driver : {"ahci", "ata_piix", "ata_generic", "pata_via", "sata_nv"}) {
    EXPECT_EQ(HostIdentifierOf(driver), "ESDI_506") << driver;
  }
  EXPECT_EQ(HostIdentifierOf("usb-storage"), "usb-storage");
  EXPECT_EQ(HostIdentifierOf("ahci_platform_x"), "ahci_platform_x");
}

TEST_F(LinuxAspiTest, ExecuteRunsOnTheTargetsNodeAndSignalsTheEventOnCompletion) {
  const Handle event = kernel_.CreateEventA(kFalse, kFalse);
  FakeDrive drive;
  AnswerWith(drive);
  auto srb = Inquiry(1, 1);
  std::memset(data_, 0xEE, sizeof data_);
  srb.SRB_PostProc = reinterpret_cast<void*>(event);
  // The request goes to the drive and completes later, as a manager's would.
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsPending);
  ASSERT_EQ(kernel_.WaitForSingleObject(event, kInfinite), kWaitObject0);
  EXPECT_EQ(srb.SRB_Status, kSsComp);
  EXPECT_EQ(srb.SRB_HaStat, kHaStatOk);
  ASSERT_EQ(io_.calls.size(), 1u);
  EXPECT_EQ(io_.calls[0].node, sysfs_.DevNode("sg1"));
  EXPECT_EQ(io_.calls[0].header.dxfer_direction, SG_DXFER_FROM_DEV);
  EXPECT_EQ(io_.calls[0].header.dxfer_len, 96u);
  EXPECT_EQ(io_.calls[0].cdb, (std::vector<unsigned char>{0x12, 0, 0, 0, 0x60, 0}));
  EXPECT_EQ(data_[0], 0x05);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data_) + 8, 7), "TAVREON");
  // The drive answered 36 bytes: the rest of the caller's buffer is untouched.
  EXPECT_EQ(data_[36], 0xEE);
  EXPECT_TRUE(io_.openFds.empty()) << "the node is closed after the request";
  kernel_.CloseHandle(event);
}

TEST_F(LinuxAspiTest, CheckConditionIsAnErrorWithTargetStatusAndRequestedSense) {
  FakeDrive drive;
  drive.refusals[0x12] = FakeFixedSense(0x05, 0x24, 0x00);
  AnswerWith(drive);
  auto srb = Inquiry(0, 0);
  srb.SRB_SenseLen = 14;
  EXPECT_EQ(Run(srb), kSsErr);
  EXPECT_EQ(srb.SRB_TargStat, 0x02);
  EXPECT_EQ(srb.SRB_HaStat, kHaStatOk);
  EXPECT_EQ(srb.SenseArea[2], 0x05);
  EXPECT_EQ(srb.SenseArea[12], 0x24);
  EXPECT_EQ(srb.SenseArea[14], 0x00) << "sense copied past SRB_SenseLen";
  EXPECT_EQ(io_.calls[0].header.mx_sb_len, kKernelSenseBytes);
}

// The drive hands its sense to the kernel once; REQUEST SENSE after a failure
// must still see it, as it would from a drive that had kept it.
TEST_F(LinuxAspiTest, RequestSenseAfterACheckConditionGetsTheKeptSense) {
  FakeDrive drive;
  drive.refusals[0x3B] = FakeFixedSense(0x05, 0x24, 0x00);
  AnswerWith(drive);
  auto write = Inquiry(0, 0);
  write.SRB_Flags = kSrbEventNotify;
  write.SRB_BufLen = 0;
  write.SRB_CDBLen = 10;
  write.CDBByte[0] = 0x3B;
  EXPECT_EQ(Run(write), kSsErr);
  EXPECT_EQ(write.SenseArea[2], 0) << "the block asked for no sense";

  Byte sense[18] = {};
  auto request = RequestSense(0, 0, sense);
  EXPECT_EQ(Run(request), kSsComp);
  EXPECT_EQ(sense[2], 0x05);
  EXPECT_EQ(sense[12], 0x24);
  EXPECT_EQ(io_.calls.size(), 1u) << "answered from the kept sense, not by the drive";

  // Handed over once: the next REQUEST SENSE goes to the drive, which has none.
  std::memset(sense, 0xEE, sizeof sense);
  request = RequestSense(0, 0, sense);
  EXPECT_EQ(Run(request), kSsComp);
  EXPECT_EQ(sense[2], 0x00);
  EXPECT_EQ(drive.requestSensesAnswered, 1);

  // Any other command in between clears what was kept; other targets never see it.
  EXPECT_EQ(Run(write), kSsErr);
  auto inquiry = Inquiry(0, 0);
  EXPECT_EQ(Run(inquiry), kSsComp);
  request = RequestSense(0, 0, sense);
  EXPECT_EQ(Run(request), kSsComp);
  EXPECT_EQ(sense[2], 0x00);
  EXPECT_EQ(Run(write), kSsErr);
  request = RequestSense(1, 1, sense);
  EXPECT_EQ(Run(request), kSsComp);
  EXPECT_EQ(sense[2], 0x00);
  EXPECT_EQ(drive.requestSensesAnswered, 3);
}

TEST_F(LinuxAspiTest, OnlyAPermissionErrorFallsBackToTheBlockNode) {
  FakeDrive drive;
  AnswerWith(drive);
  aspi_.SetBlockNodeFallback(true);
  const struct {
    int error;
    bool fallsBack;
  } cases[] = {{EACCES, true}, {EPERM, true}, {EBUSY, false}, {ENXIO, false}};
  for (const auto& c : cases) {
    io_.openErrors = {{sysfs_.DevNode("sg0"), c.error}};
    io_.opens.clear();
    auto srb = Inquiry(0, 0);
    EXPECT_EQ(Run(srb), c.fallsBack ? kSsComp : kSsNoDevice) << c.error;
    EXPECT_EQ(io_.opens.back().first, sysfs_.DevNode(c.fallsBack ? "sr0" : "sg0")) << c.error;
  }
}

TEST_F(LinuxAspiTest, HostFailureWithStatusGoodIsNotAdapterOk) {
  FakeDrive drive;
  drive.hostFailures[0x12] = testing::kFakeDidError;
  AnswerWith(drive);
  auto srb = Inquiry(0, 0);
  EXPECT_EQ(Run(srb), kSsErr);
  EXPECT_EQ(srb.SRB_TargStat, 0x00);
  EXPECT_EQ(srb.SRB_HaStat, kHaStatPhaseError);

  io_.responder = [](const std::string&, sg_io_hdr_t*) { return -EIO; };
  srb = Inquiry(0, 0);
  EXPECT_EQ(Run(srb), kSsErr);
  EXPECT_NE(srb.SRB_HaStat, kHaStatOk);
}

// A request the drive does not answer in time is aborted: its block is final
// at once, and the late answer touches neither the block nor the buffer.
TEST_F(LinuxAspiTest, AbortGivesUpARequestTheDriveHasNotAnswered) {
  FakeDrive& drive = heldDrive_;
  drive.holdCommands = true;
  AnswerWith(drive);
  const Handle event = kernel_.CreateEventA(kFalse, kFalse);
  auto srb = Inquiry(1, 1);
  srb.SRB_PostProc = reinterpret_cast<void*>(event);
  std::memset(data_, 0xEE, sizeof data_);
  ASSERT_EQ(aspi_.SendASPI32Command(&srb), kSsPending);
  drive.WaitForCommands(1);
  EXPECT_EQ(kernel_.WaitForSingleObject(event, 0), kWaitTimeout);
  EXPECT_EQ(srb.SRB_Status, kSsPending);

  SrbAbort abort{};
  abort.SRB_Cmd = kScAbortSrb;
  abort.SRB_HaId = 1;
  abort.SRB_ToAbort = &srb;
  EXPECT_EQ(aspi_.SendASPI32Command(&abort), kSsComp);
  EXPECT_EQ(srb.SRB_Status, kSsAborted);
  // Aborting it again, or a block that is not in flight, fails.
  EXPECT_EQ(aspi_.SendASPI32Command(&abort), kSsAbortFail);

  srb.SRB_Status = 0x77;  // the caller owns the block again
  drive.Release();
  Byte other[96] = {};
  auto next = Inquiry(1, 1);
  next.SRB_BufPointer = other;
  EXPECT_EQ(Run(next), kSsComp);
  EXPECT_EQ(other[0], 0x05);
  EXPECT_EQ(srb.SRB_Status, 0x77);
  EXPECT_EQ(data_[0], 0xEE);
  kernel_.CloseHandle(event);
}

TEST_F(LinuxAspiTest, MissingTargetsAndAdaptersAreReportedNotSent) {
  auto srb = Inquiry(0, 1);  // the ATAPI port has only target 0
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsNoDevice);
  srb = Inquiry(1, 3);
  srb.SRB_Lun = 1;
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsNoDevice);
  srb = Inquiry(2, 0);
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsInvalidHa);
  srb = Inquiry(1, 3);
  srb.SRB_CDBLen = 0;
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsInvalidSrb);
  EXPECT_TRUE(io_.calls.empty());

  io_.openErrors[sysfs_.DevNode("sg2")] = EACCES;
  srb = Inquiry(1, 3);
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsNoDevice);
  EXPECT_EQ(kernel_.GetLastError(), kErrorAccessDenied);
}

TEST_F(LinuxAspiTest, AbortOfNothingInFlightAndUnknownCommands) {
  SrbAbort abort{};
  abort.SRB_Cmd = kScAbortSrb;
  EXPECT_EQ(aspi_.SendASPI32Command(&abort), kSsAbortFail);
  EXPECT_EQ(abort.SRB_Status, kSsAbortFail);
  SrbAbort unknown{};
  unknown.SRB_Cmd = 0x7F;
  EXPECT_EQ(aspi_.SendASPI32Command(&unknown), kSsInvalidCmd);
  EXPECT_EQ(aspi_.SendASPI32Command(nullptr), kSsInvalidSrb);
}

}  // namespace
}  // namespace platform
