// The ASPI manager over a fake sysfs and scripted device calls.
#include "platform/linux/linux_aspi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/linux/linux_kernel.h"
#include "platform/win_errors.h"
#include "tests/platform/fake_device_io.h"
#include "tests/platform/fake_sysfs.h"

namespace platform {
namespace {

using testing::FakeDeviceIo;
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

  FakeSysfs sysfs_;
  FakeDeviceIo io_;
  LinuxKernel kernel_;
  LinuxAspiManager aspi_{kernel_, io_, sysfs_.Layout()};
  Byte data_[96] = {};
};

TEST_F(LinuxAspiTest, LibraryLoadsOnlyByItsNameAndWithTheSgDriver) {
  EXPECT_NE(aspi_.LoadLibraryA("WNASPI32.DLL"), kNullHandle);
  EXPECT_NE(aspi_.LoadLibraryA("wnaspi32.dll"), kNullHandle);
  EXPECT_EQ(aspi_.LoadLibraryA("WNASPI.DLL"), kNullHandle);
  EXPECT_EQ(kernel_.GetLastError(), kErrorModNotFound);

  std::filesystem::remove_all(sysfs_.Sys() / "class" / "scsi_generic");
  kernel_.SetLastError(0);
  EXPECT_EQ(aspi_.LoadLibraryA("WNASPI32.DLL"), kNullHandle);
  EXPECT_EQ(kernel_.GetLastError(), kErrorModNotFound);
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

TEST_F(LinuxAspiTest, ExecuteRunsOnTheTargetsNodeAndSignalsTheEvent) {
  const Handle event = kernel_.CreateEventA(kFalse, kFalse);
  io_.responder = [](const std::string&, sg_io_hdr_t* h) {
    static_cast<Byte*>(h->dxferp)[0] = 0x05;
    return 0;
  };
  auto srb = Inquiry(1, 1);
  srb.SRB_PostProc = reinterpret_cast<void*>(event);
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsComp);
  EXPECT_EQ(srb.SRB_Status, kSsComp);
  ASSERT_EQ(io_.calls.size(), 1u);
  EXPECT_EQ(io_.calls[0].node, sysfs_.DevNode("sg1"));
  EXPECT_EQ(io_.calls[0].header.dxfer_direction, SG_DXFER_FROM_DEV);
  EXPECT_EQ(io_.calls[0].cdb, (std::vector<unsigned char>{0x12, 0, 0, 0, 0x60, 0}));
  EXPECT_EQ(data_[0], 0x05);
  EXPECT_EQ(kernel_.WaitForSingleObject(event, 0), kWaitObject0);
  EXPECT_TRUE(io_.openFds.empty()) << "the node is closed after the request";
}

TEST_F(LinuxAspiTest, CheckConditionIsAnErrorWithTargetStatusAndSense) {
  io_.responder = [](const std::string&, sg_io_hdr_t* h) {
    h->status = 0x02;
    const Byte sense[] = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0x00};
    std::memcpy(h->sbp, sense, sizeof sense);
    h->sb_len_wr = sizeof sense;
    return 0;
  };
  auto srb = Inquiry(0, 0);
  srb.SRB_SenseLen = 14;
  EXPECT_EQ(aspi_.SendASPI32Command(&srb), kSsErr);
  EXPECT_EQ(srb.SRB_TargStat, 0x02);
  EXPECT_EQ(srb.SenseArea[2], 0x05);
  EXPECT_EQ(srb.SenseArea[12], 0x24);
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

TEST_F(LinuxAspiTest, AbortAndUnknownCommands) {
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
