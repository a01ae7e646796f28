// The pass-through service over a fake sysfs and scripted device calls.
#include "platform/linux/linux_pass_through.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>

#include <cstring>

#include "platform/linux/errno_mapping.h"
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

constexpr Dword kReadWrite = kGenericRead | kGenericWrite;
constexpr Dword kShare = kFileShareRead | kFileShareWrite;

class LinuxPassThroughTest : public ::testing::Test {
 protected:
  LinuxPassThroughTest() {
    sysfs_.AddOptical(0, 1, {2, 0, 0, 0});
    sysfs_.AddOptical(1, 3, {3, 1, 4, 0});
  }
  LinuxPassThrough Service(std::optional<DriveMap> map = std::nullopt) {
    return LinuxPassThrough(kernel_, io_, sysfs_.Layout(), std::move(map),
                            [this](const std::string& line) { told_.push_back(line); });
  }
  // Whether some line told contains every one of the parts.
  bool Told(std::initializer_list<std::string> parts) const {
    for (const auto& line : told_) {
      bool all = true;
      for (const auto& part : parts) all = all && line.find(part) != std::string::npos;
      if (all) return true;
    }
    return false;
  }

  // A direct record without data (WRITE BUFFER start, say) asking for
  // senseLength sense bytes.
  static ScsiPassThroughDirectWithSense DirectCommand(Byte opcode, Uchar senseLength) {
    ScsiPassThroughDirectWithSense record{};
    record.sptd.Length = sizeof record.sptd;
    record.sptd.CdbLength = 12;
    record.sptd.SenseInfoLength = senseLength;
    record.sptd.DataIn = kScsiIoctlDataOut;
    record.sptd.TimeOutValue = 5;
    record.sptd.SenseInfoOffset = offsetof(ScsiPassThroughDirectWithSense, SenseBuf);
    record.sptd.Cdb[0] = opcode;
    return record;
  }
  // The updater's buffered REQUEST SENSE for 24 bytes.
  static ScsiPassThroughWithBuffers BufferedRequestSense() {
    ScsiPassThroughWithBuffers record{};
    record.spt.Length = sizeof record.spt;
    record.spt.CdbLength = 12;
    record.spt.DataIn = kScsiIoctlDataIn;
    record.spt.DataTransferLength = 24;
    record.spt.TimeOutValue = 2;
    record.spt.DataBufferOffset = offsetof(ScsiPassThroughWithBuffers, DataBuf);
    record.spt.SenseInfoOffset = offsetof(ScsiPassThroughWithBuffers, SenseBuf);
    record.spt.Cdb[0] = 0x03;
    record.spt.Cdb[4] = 24;
    return record;
  }
  Bool Send(LinuxPassThrough& service, Handle device, ScsiPassThroughDirectWithSense& record) {
    Dword returned = 0;
    return service.DeviceIoControl(device, kIoctlScsiPassThroughDirect, &record, sizeof record,
                                   &record, sizeof record, &returned);
  }
  Bool Send(LinuxPassThrough& service, Handle device, ScsiPassThroughWithBuffers& record) {
    Dword returned = 0;
    return service.DeviceIoControl(device, kIoctlScsiPassThrough, &record, sizeof record, &record,
                                   offsetof(ScsiPassThroughWithBuffers, DataBuf) + 24, &returned);
  }
  void AnswerWith(FakeDrive& drive) {
    io_.responder = [&drive](const std::string&, sg_io_hdr_t* h) { return drive.Answer(h); };
  }

  std::vector<std::string> told_;
  Handle Open(LinuxPassThrough& service, const char* name) {
    return service.CreateFileA(name, kReadWrite, kShare, kOpenExisting, 0);
  }

  FakeSysfs sysfs_;
  FakeDeviceIo io_;
  LinuxKernel kernel_;
};

TEST_F(LinuxPassThroughTest, LettersOpenTheGenericNodeReadWriteNonBlocking) {
  auto service = Service();
  const Handle e = Open(service, "\\\\.\\E:");
  ASSERT_NE(e, kInvalidHandleValue);
  ASSERT_EQ(io_.opens.size(), 1u);
  EXPECT_EQ(io_.opens[0].first, sysfs_.DevNode("sg3"));
  EXPECT_EQ(io_.opens[0].second, O_RDWR | O_NONBLOCK);
  EXPECT_EQ(service.CloseHandle(e), kTrue);
  EXPECT_EQ(io_.openFds.size(), 0u) << "the node stays open after CloseHandle";
  EXPECT_EQ(service.CloseHandle(e), kFalse);
  EXPECT_EQ(kernel_.GetLastError(), kErrorInvalidHandle);
}

TEST_F(LinuxPassThroughTest, LetterWithoutDeviceIsFileNotFound) {
  auto service = Service();
  for (const char* name : {"\\\\.\\F:", "\\\\.\\C:", "F:", "\\\\.\\D:\\x"}) {
    kernel_.SetLastError(0);
    EXPECT_EQ(Open(service, name), kInvalidHandleValue) << name;
    EXPECT_EQ(kernel_.GetLastError(), kErrorFileNotFound) << name;
  }
  EXPECT_TRUE(io_.opens.empty());
}

TEST_F(LinuxPassThroughTest, ExplicitMapDecidesTheLetters) {
  auto service = Service(DriveMap{{'K', sysfs_.DevNode("sr1")}});
  EXPECT_EQ(Open(service, "\\\\.\\D:"), kInvalidHandleValue);
  EXPECT_NE(Open(service, "\\\\.\\K:"), kInvalidHandleValue);
  EXPECT_EQ(io_.opens.back().first, sysfs_.DevNode("sg3"));
}

TEST_F(LinuxPassThroughTest, OpenFailuresCarryTheirWin32Codes) {
  auto service = Service();
  const struct {
    int error;
    Dword expected;
  } cases[] = {{EACCES, kErrorAccessDenied},
               {EBUSY, kErrorSharingViolation},
               {ENOMEDIUM, kErrorNotReady},
               {ENOENT, kErrorFileNotFound}};
  for (const auto& c : cases) {
    io_.openErrors[sysfs_.DevNode("sg1")] = c.error;
    EXPECT_EQ(Open(service, "\\\\.\\D:"), kInvalidHandleValue);
    EXPECT_EQ(kernel_.GetLastError(), c.expected) << c.error;
  }
}

TEST_F(LinuxPassThroughTest, AddressComesFromTheNodeOrElseFromSysfs) {
  auto service = Service();
  const Handle e = Open(service, "\\\\.\\E:");
  ScsiAddress address{};
  Dword returned = 0;
  ASSERT_EQ(service.DeviceIoControl(e, kIoctlScsiGetAddress, nullptr, 0, &address, sizeof address,
                                    &returned),
            kTrue);
  EXPECT_EQ(returned, sizeof address);
  EXPECT_EQ(address.Length, sizeof address);
  EXPECT_EQ(address.PortNumber, 3);
  EXPECT_EQ(address.PathId, 1);
  EXPECT_EQ(address.TargetId, 4);

  io_.hasScsiId = true;
  io_.scsiId = {7, 0, 5, 2, 5, 0, 0, {}};
  ASSERT_EQ(service.DeviceIoControl(e, kIoctlScsiGetAddress, nullptr, 0, &address, sizeof address,
                                    &returned),
            kTrue);
  EXPECT_EQ(address.PortNumber, 7);
  EXPECT_EQ(address.TargetId, 5);
  EXPECT_EQ(address.Lun, 2);

  EXPECT_EQ(service.DeviceIoControl(e, kIoctlScsiGetAddress, nullptr, 0, &address, 4, &returned),
            kFalse);
  EXPECT_EQ(kernel_.GetLastError(), kErrorInsufficientBuffer);
}

TEST_F(LinuxPassThroughTest, CapabilitiesReportTheReservedSize) {
  auto service = Service();
  const Handle d = Open(service, "\\\\.\\D:");
  IoScsiCapabilities capabilities{};
  Dword returned = 0;
  ASSERT_EQ(service.DeviceIoControl(d, kIoctlScsiGetCapabilities, nullptr, 0, &capabilities,
                                    sizeof capabilities, &returned),
            kTrue);
  EXPECT_EQ(capabilities.MaximumTransferLength, kDefaultMaximumTransferLength);
  io_.reservedSize = 0x8000;
  ASSERT_EQ(service.DeviceIoControl(d, kIoctlScsiGetCapabilities, nullptr, 0, &capabilities,
                                    sizeof capabilities, &returned),
            kTrue);
  EXPECT_EQ(capabilities.Length, sizeof capabilities);
  EXPECT_EQ(capabilities.MaximumTransferLength, 0x8000u);
  EXPECT_EQ(returned, sizeof capabilities);
}

TEST_F(LinuxPassThroughTest, DirectPassThroughRunsSgIoOnTheDrive) {
  auto service = Service();
  const Handle d = Open(service, "\\\\.\\D:");
  io_.responder = [](const std::string&, sg_io_hdr_t* h) {
    std::memcpy(h->dxferp, "\x05\x80", 2);
    h->status = 0;
    return 0;
  };
  Byte data[96] = {};
  ScsiPassThroughDirectWithSense record{};
  record.sptd.Length = sizeof record.sptd;
  record.sptd.CdbLength = 12;
  record.sptd.SenseInfoLength = 18;
  record.sptd.DataIn = kScsiIoctlDataIn;
  record.sptd.DataTransferLength = sizeof data;
  record.sptd.TimeOutValue = 2;
  record.sptd.DataBuffer = data;
  record.sptd.SenseInfoOffset = offsetof(ScsiPassThroughDirectWithSense, SenseBuf);
  record.sptd.Cdb[0] = 0x12;
  record.sptd.Cdb[4] = 0x60;
  Dword returned = 0;
  ASSERT_EQ(service.DeviceIoControl(d, kIoctlScsiPassThroughDirect, &record, sizeof record, &record,
                                    sizeof record, &returned),
            kTrue);
  ASSERT_EQ(io_.calls.size(), 1u);
  EXPECT_EQ(io_.calls[0].node, sysfs_.DevNode("sg1"));
  EXPECT_EQ(io_.calls[0].cdb,
            (std::vector<unsigned char>{0x12, 0, 0, 0, 0x60, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(io_.calls[0].header.timeout, 2000u);
  EXPECT_EQ(data[0], 0x05);

  // The ioctl itself failing fails the call with the mapped code.
  io_.responder = [](const std::string&, sg_io_hdr_t*) { return -EIO; };
  EXPECT_EQ(service.DeviceIoControl(d, kIoctlScsiPassThroughDirect, &record, sizeof record, &record,
                                    sizeof record, &returned),
            kFalse);
  EXPECT_EQ(kernel_.GetLastError(), kErrorIoDevice);

  // An invalid record never reaches the device.
  record.sptd.CdbLength = 0;
  EXPECT_EQ(service.DeviceIoControl(d, kIoctlScsiPassThroughDirect, &record, sizeof record, &record,
                                    sizeof record, &returned),
            kFalse);
  EXPECT_EQ(kernel_.GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(io_.calls.size(), 2u);
}

// A real drive hands its sense to the kernel's autosense once and answers a
// later REQUEST SENSE with "no sense"; the updater asks for no sense bytes and
// fetches them with REQUEST SENSE, so the kernel's copy must be kept for it.
TEST_F(LinuxPassThroughTest, RequestSenseAfterACheckConditionGetsTheKeptSense) {
  auto service = Service();
  const Handle d = Open(service, "\\\\.\\D:");
  FakeDrive drive;
  drive.refusals[0x3B] = FakeFixedSense(0x05, 0x24, 0x00);
  AnswerWith(drive);

  auto write = DirectCommand(0x3B, 0);
  ASSERT_EQ(Send(service, d, write), kTrue);
  EXPECT_EQ(write.sptd.ScsiStatus, 0x02);
  EXPECT_EQ(write.sptd.SenseInfoLength, 0) << "the record asked for no sense";
  EXPECT_EQ(write.SenseBuf[2], 0);
  EXPECT_EQ(io_.calls.back().header.mx_sb_len, kKernelSenseBytes);

  auto sense = BufferedRequestSense();
  ASSERT_EQ(Send(service, d, sense), kTrue);
  EXPECT_EQ(sense.spt.ScsiStatus, 0);
  EXPECT_EQ(sense.DataBuf[0], 0x70);
  EXPECT_EQ(sense.DataBuf[2], 0x05);
  EXPECT_EQ(sense.DataBuf[12], 0x24);
  EXPECT_EQ(sense.DataBuf[13], 0x00);
  EXPECT_EQ(sense.spt.DataTransferLength, 18u) << "the 18 bytes kept, fewer than asked";
  EXPECT_EQ(io_.calls.size(), 1u) << "answered from the kept sense, not by the drive";

  // Handed over once: asked again, the drive itself answers "no sense".
  sense = BufferedRequestSense();
  ASSERT_EQ(Send(service, d, sense), kTrue);
  EXPECT_EQ(sense.DataBuf[2], 0x00);
  EXPECT_EQ(drive.requestSensesAnswered, 1);

  // Any other command in between clears it, and a success shows none.
  ASSERT_EQ(Send(service, d, write), kTrue);
  auto ready = DirectCommand(0x00, 18);
  std::memset(ready.SenseBuf, 0xEE, sizeof ready.SenseBuf);
  ASSERT_EQ(Send(service, d, ready), kTrue);
  EXPECT_EQ(ready.sptd.ScsiStatus, 0);
  EXPECT_EQ(ready.sptd.SenseInfoLength, 0);
  EXPECT_EQ(ready.SenseBuf[2], 0xEE);
  sense = BufferedRequestSense();
  ASSERT_EQ(Send(service, d, sense), kTrue);
  EXPECT_EQ(sense.DataBuf[2], 0x00);
  EXPECT_EQ(drive.requestSensesAnswered, 2);

  // The kept sense belongs to its drive: another drive's REQUEST SENSE goes out.
  ASSERT_EQ(Send(service, d, write), kTrue);
  const Handle e = Open(service, "\\\\.\\E:");
  sense = BufferedRequestSense();
  ASSERT_EQ(Send(service, e, sense), kTrue);
  EXPECT_EQ(drive.requestSensesAnswered, 3);
}

TEST_F(LinuxPassThroughTest, UtilitiesGetTheSenseTheyAskForWithTheCommand) {
  auto service = Service();
  const Handle d = Open(service, "\\\\.\\D:");
  FakeDrive drive;
  drive.refusals[0xBB] = FakeFixedSense(0x25, 0x26, 0x01);
  AnswerWith(drive);
  auto speed = DirectCommand(0xBB, 18);
  ASSERT_EQ(Send(service, d, speed), kTrue);
  EXPECT_EQ(speed.sptd.ScsiStatus, 0x02);
  EXPECT_EQ(speed.sptd.SenseInfoLength, 18);
  EXPECT_EQ(speed.SenseBuf[2], 0x25);
  EXPECT_EQ(speed.SenseBuf[12], 0x26);
  EXPECT_EQ(speed.SenseBuf[13], 0x01);
}

TEST_F(LinuxPassThroughTest, HostFailureWithStatusGoodFailsTheCall) {
  auto service = Service();
  const Handle d = Open(service, "\\\\.\\D:");
  FakeDrive drive;
  drive.hostFailures[0x00] = testing::kFakeDidError;
  AnswerWith(drive);
  auto ready = DirectCommand(0x00, 18);
  EXPECT_EQ(Send(service, d, ready), kFalse);
  EXPECT_EQ(kernel_.GetLastError(), kErrorIoDevice);
  EXPECT_EQ(ready.sptd.ScsiStatus, 0);
}

TEST_F(LinuxPassThroughTest, DeniedGenericNodeIsNamedWithItsFix) {
  io_.openErrors[sysfs_.DevNode("sg1")] = EACCES;
  auto service = Service();
  EXPECT_EQ(Open(service, "\\\\.\\D:"), kInvalidHandleValue);
  EXPECT_EQ(kernel_.GetLastError(), kErrorAccessDenied);
  EXPECT_EQ(io_.opens.size(), 1u) << "the updaters never fall back to the block node";
  EXPECT_TRUE(Told({"D:", sysfs_.DevNode("sg1"), "Permission denied", "cdrom group", "root",
                    "firmware commands need the SCSI generic node"}));
  // Told once, however often the drive is probed.
  EXPECT_EQ(Open(service, "\\\\.\\D:"), kInvalidHandleValue);
  EXPECT_EQ(told_.size(), 1u);
}

TEST_F(LinuxPassThroughTest, ProgramsWithBlockNodeCommandsFallBackToTheBlockNode) {
  io_.openErrors[sysfs_.DevNode("sg1")] = EACCES;
  auto service = Service();
  service.SetBlockNodeFallback(true);
  const Handle d = Open(service, "\\\\.\\D:");
  ASSERT_NE(d, kInvalidHandleValue);
  EXPECT_EQ(io_.opens.back().first, sysfs_.DevNode("sr0"));
  EXPECT_EQ(io_.opens.back().second, O_RDWR | O_NONBLOCK);
  EXPECT_TRUE(Told({sysfs_.DevNode("sg1"), "using " + sysfs_.DevNode("sr0")}));
  auto ready = DirectCommand(0x00, 18);
  ASSERT_EQ(Send(service, d, ready), kTrue);
  EXPECT_EQ(io_.calls.back().node, sysfs_.DevNode("sr0"));

  // A block node that cannot be opened either leaves the drive closed.
  io_.openErrors[sysfs_.DevNode("sr1")] = EACCES;
  io_.openErrors[sysfs_.DevNode("sg3")] = EACCES;
  EXPECT_EQ(Open(service, "\\\\.\\E:"), kInvalidHandleValue);
  EXPECT_EQ(kernel_.GetLastError(), kErrorAccessDenied);
  EXPECT_TRUE(Told({"E:", sysfs_.DevNode("sg3"), "cdrom group"}));
}

// Only a node the user may not open sends the drive to its block node: a busy
// or vanished drive is no better reached there.
TEST_F(LinuxPassThroughTest, OnlyAPermissionErrorFallsBackToTheBlockNode) {
  const struct {
    int error;
    bool fallsBack;
  } cases[] = {{EACCES, true}, {EPERM, true}, {EBUSY, false}, {ENXIO, false}};
  for (const auto& c : cases) {
    io_.openErrors = {{sysfs_.DevNode("sg1"), c.error}};
    io_.opens.clear();
    auto service = Service();
    service.SetBlockNodeFallback(true);
    const Handle d = Open(service, "\\\\.\\D:");
    EXPECT_EQ(d != kInvalidHandleValue, c.fallsBack) << c.error;
    EXPECT_EQ(io_.opens.back().first, sysfs_.DevNode(c.fallsBack ? "sr0" : "sg1")) << c.error;
    if (!c.fallsBack) {
      EXPECT_EQ(kernel_.GetLastError(), Win32ErrorFromErrno(c.error, ErrnoContext::kOpen));
    }
  }
}

TEST_F(LinuxPassThroughTest, ExplicitBlockNodeSaysItIsOpenedThroughItsGenericNode) {
  auto service = Service(DriveMap{{'D', sysfs_.DevNode("sr0")}, {'E', sysfs_.DevNode("sg3")}});
  ASSERT_NE(Open(service, "\\\\.\\D:"), kInvalidHandleValue);
  EXPECT_EQ(io_.opens.back().first, sysfs_.DevNode("sg1"));
  EXPECT_TRUE(Told({"DVDUTIL_DRIVES", "D: " + sysfs_.DevNode("sr0"), sysfs_.DevNode("sg1")}));
  // A map that names the generic node itself needs no word.
  ASSERT_NE(Open(service, "\\\\.\\E:"), kInvalidHandleValue);
  EXPECT_EQ(told_.size(), 1u);
}

TEST_F(LinuxPassThroughTest, MissingSgDriverIsToldToTheUpdaters) {
  FakeSysfs bare;
  bare.AddBlockOnly(0, {0, 0, 0, 0});
  LinuxPassThrough service(kernel_, io_, bare.Layout(), std::nullopt,
                           [this](const std::string& line) { told_.push_back(line); });
  ASSERT_NE(Open(service, "\\\\.\\D:"), kInvalidHandleValue);
  EXPECT_EQ(io_.opens.back().first, bare.DevNode("sr0"));
  EXPECT_TRUE(Told({bare.DevNode("sr0"), "sg driver is not loaded", "modprobe sg"}));

  // The region and speed programs need no generic node.
  told_.clear();
  LinuxPassThrough utility(kernel_, io_, bare.Layout(), std::nullopt,
                           [this](const std::string& line) { told_.push_back(line); });
  utility.SetBlockNodeFallback(true);
  ASSERT_NE(Open(utility, "\\\\.\\D:"), kInvalidHandleValue);
  EXPECT_TRUE(told_.empty());
}

TEST_F(LinuxPassThroughTest, UnknownCodesAndHandlesAreRefused) {
  auto service = Service();
  const Handle d = Open(service, "\\\\.\\D:");
  Byte buffer[64] = {};
  Dword returned = 7;
  EXPECT_EQ(
      service.DeviceIoControl(d, 0x2D1400, buffer, sizeof buffer, buffer, sizeof buffer, &returned),
      kFalse);
  EXPECT_EQ(kernel_.GetLastError(), kErrorInvalidFunction);
  EXPECT_EQ(returned, 0u);
  EXPECT_EQ(service.DeviceIoControl(d + 1, kIoctlScsiGetAddress, nullptr, 0, buffer, sizeof buffer,
                                    &returned),
            kFalse);
  EXPECT_EQ(kernel_.GetLastError(), kErrorInvalidHandle);
}

TEST_F(LinuxPassThroughTest, LockIsTakenOnTheBlockDeviceAndReleasedOnClose) {
  auto service = Service();
  const Handle d = Open(service, "\\\\.\\D:");
  EXPECT_EQ(service.LockDevice(d), kFalse) << "0 means locked";
  ASSERT_EQ(io_.locks, (std::vector<std::string>{sysfs_.DevNode("sr0")}));
  EXPECT_EQ(io_.lockOperations, (std::vector<int>{LOCK_EX | LOCK_NB})) << "must never block";
  EXPECT_EQ(service.LockDevice(d), kFalse);
  EXPECT_EQ(io_.locks.size(), 1u) << "a held lock is not taken twice";
  EXPECT_EQ(io_.openFds.size(), 2u);
  service.CloseHandle(d);
  EXPECT_TRUE(io_.openFds.empty()) << "closing must release the lock descriptor too";

  io_.lockedElsewhere.insert(sysfs_.DevNode("sr1"));
  const Handle e = Open(service, "\\\\.\\E:");
  EXPECT_NE(service.LockDevice(e), kFalse);
  EXPECT_EQ(kernel_.GetLastError(), kErrorSharingViolation);
  EXPECT_EQ(io_.openFds.size(), 1u) << "a failed lock leaves no descriptor behind";
}

TEST(ErrnoMapping, OpenAndIoctlReportTheWin32Codes) {
  const struct {
    int error;
    ErrnoContext context;
    Dword expected;
  } cases[] = {
      {ENOENT, ErrnoContext::kOpen, kErrorFileNotFound},
      {EACCES, ErrnoContext::kOpen, kErrorAccessDenied},
      {EPERM, ErrnoContext::kIoctl, kErrorAccessDenied},
      {EBUSY, ErrnoContext::kOpen, kErrorSharingViolation},
      {EBUSY, ErrnoContext::kIoctl, kErrorBusy},
      {ENOMEDIUM, ErrnoContext::kOpen, kErrorNotReady},
      {EIO, ErrnoContext::kIoctl, kErrorIoDevice},
      {ENXIO, ErrnoContext::kOpen, kErrorDeviceNotConnected},
      {ETIMEDOUT, ErrnoContext::kIoctl, kErrorSemTimeout},
      {EINVAL, ErrnoContext::kIoctl, kErrorInvalidParameter},
      {ENOTTY, ErrnoContext::kIoctl, kErrorInvalidFunction},
      {ENOMEM, ErrnoContext::kIoctl, kErrorNotEnoughMemory},
      {EXDEV, ErrnoContext::kIoctl, kErrorGenFailure},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Win32ErrorFromErrno(c.error, c.context), c.expected) << c.error;
  }
}

}  // namespace
}  // namespace platform
