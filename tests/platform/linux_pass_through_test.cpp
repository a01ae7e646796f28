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
#include "tests/platform/fake_sysfs.h"

namespace platform {
namespace {

using testing::FakeDeviceIo;
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
    return LinuxPassThrough(kernel_, io_, sysfs_.Layout(), std::move(map));
  }
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
