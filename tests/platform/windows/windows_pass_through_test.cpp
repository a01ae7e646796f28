// The pass-through back-end on Windows with the device driver stood in for at
// the DeviceIoControl seam: the driver reads our records as the SDK's
// SCSI_PASS_THROUGH(_DIRECT) (ntddscsi.h) and answers into them: data into the
// caller's buffer or the record's data area, sense at the offset the record
// names. And the real CreateFileA on a drive letter that has no drive.
#include "platform/windows/windows_pass_through.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "drvcmd/generic_commands.h"
#include "drvcmd/spti/spti_transport.h"
#include "platform/win_errors.h"
#include "platform/windows/win32.h"
#include "platform/windows/windows_platform.h"
#include "tests/support/recording_notice.h"

namespace {

constexpr platform::Handle kDriveHandle = 0x1234;

struct Opened {
  std::string name;
  platform::Dword access, share, disposition;
};

struct Control {
  platform::Dword code, inSize, outSize;
  SCSI_PASS_THROUGH_DIRECT direct;  // the header as the driver read it
  SCSI_PASS_THROUGH buffered;
};

struct DriveAnswer {
  std::vector<std::uint8_t> data;
  std::uint8_t scsiStatus = 0;
  std::vector<std::uint8_t> sense;
};

// The driver of one drive on D:, address 1/2/0.
class FakeDriver : public platform::DeviceCalls {
 public:
  platform::Handle CreateFileA(const char* name, platform::Dword access, platform::Dword share,
                               platform::Dword disposition, platform::Dword) override {
    opened.push_back({name, access, share, disposition});
    if (std::string(name) != "\\\\.\\D:") {
      ::SetLastError(ERROR_FILE_NOT_FOUND);
      return platform::kInvalidHandleValue;
    }
    return kDriveHandle;
  }

  platform::Bool DeviceIoControl(platform::Handle device, platform::Dword code, void* in,
                                 platform::Dword inSize, void* out, platform::Dword outSize,
                                 platform::Dword* returned) override {
    if (device != kDriveHandle) {
      ::SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    Control control{code, inSize, outSize, {}, {}};
    auto* bytes = static_cast<std::uint8_t*>(in);
    if (code == IOCTL_SCSI_GET_CAPABILITIES) {
      IO_SCSI_CAPABILITIES capabilities{};
      capabilities.Length = sizeof(capabilities);
      capabilities.MaximumTransferLength = 0x10000;
      std::memcpy(out, &capabilities, std::min<std::size_t>(outSize, sizeof(capabilities)));
    } else if (code == IOCTL_SCSI_GET_ADDRESS) {
      SCSI_ADDRESS address{sizeof(SCSI_ADDRESS), 0, 1, 2, 0};
      std::memcpy(out, &address, std::min<std::size_t>(outSize, sizeof(address)));
    } else if (code == IOCTL_SCSI_PASS_THROUGH_DIRECT) {
      auto* record = static_cast<SCSI_PASS_THROUGH_DIRECT*>(in);
      control.direct = *record;
      Answer(record->DataBuffer, record->DataTransferLength, record->ScsiStatus,
             bytes + record->SenseInfoOffset, record->SenseInfoLength);
    } else if (code == IOCTL_SCSI_PASS_THROUGH) {
      auto* record = static_cast<SCSI_PASS_THROUGH*>(in);
      control.buffered = *record;
      Answer(bytes + record->DataBufferOffset, record->DataTransferLength, record->ScsiStatus,
             bytes + record->SenseInfoOffset, record->SenseInfoLength);
    }
    controls.push_back(control);
    if (returned != nullptr) *returned = outSize;
    return TRUE;
  }

  platform::Bool CloseHandle(platform::Handle device) override {
    closed.push_back(device);
    return TRUE;
  }

  std::vector<Opened> opened;
  std::vector<Control> controls;
  std::vector<platform::Handle> closed;
  std::deque<DriveAnswer> answers;

 private:
  void Answer(void* data, ULONG length, UCHAR& status, std::uint8_t* sense, UCHAR senseLength) {
    DriveAnswer answer;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    std::memcpy(data, answer.data.data(), std::min<std::size_t>(length, answer.data.size()));
    status = answer.scsiStatus;
    std::memcpy(sense, answer.sense.data(),
                std::min<std::size_t>(senseLength, answer.sense.size()));
  }
};

class WindowsPassThroughTest : public ::testing::Test {
 protected:
  void Start(drvcmd::ProgramId program) {
    driver_ = std::make_shared<FakeDriver>();
    system_ = platform::CreateWindowsPlatform(driver_);
    transport_ = std::make_unique<drvcmd::SptiTransport>(program, *system_, notice_);
    ASSERT_EQ(transport_->StartTransport(), drvcmd::kStartOk);
  }
  void TearDown() override {
    if (transport_) transport_->StopTransport();
  }

  static DriveAnswer Inquiry() {
    DriveAnswer answer;
    answer.data.assign(96, 0);
    answer.data[0] = 0x05;
    const std::string identity = "TAVREON DVD-ROM KD-410   ";
    std::copy(identity.begin(), identity.end(), answer.data.begin() + 8);
    return answer;
  }

  std::shared_ptr<FakeDriver> driver_;
  std::unique_ptr<platform::Platform> system_;
  testsupport::RecordingNotice notice_;
  std::unique_ptr<drvcmd::SptiTransport> transport_;
};

TEST_F(WindowsPassThroughTest, DirectInquiryReachesTheDriverAsTheSdkRecord) {
  ASSERT_NO_FATAL_FAILURE(Start(drvcmd::ProgramId::kZoneSpti));
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  ASSERT_EQ(driver_->opened.size(), 1u);
  EXPECT_EQ(driver_->opened[0].name, "\\\\.\\D:");
  EXPECT_EQ(driver_->opened[0].access, static_cast<platform::Dword>(GENERIC_READ | GENERIC_WRITE));
  EXPECT_EQ(driver_->opened[0].share,
            static_cast<platform::Dword>(FILE_SHARE_READ | FILE_SHARE_WRITE));
  EXPECT_EQ(driver_->opened[0].disposition, static_cast<platform::Dword>(OPEN_EXISTING));

  driver_->answers.push_back(Inquiry());
  ASSERT_EQ(drvcmd::SendInquiry(*transport_, {'D', 0, 0}), drvcmd::kOutcomeGood);
  EXPECT_EQ(std::memcmp(transport_->DataBuffer().data() + 8, "TAVREON DVD-ROM KD-410", 22), 0);

  ASSERT_EQ(driver_->controls.size(), 3u);
  EXPECT_EQ(driver_->controls[0].code, static_cast<platform::Dword>(IOCTL_SCSI_GET_CAPABILITIES));
  EXPECT_EQ(driver_->controls[1].code, static_cast<platform::Dword>(IOCTL_SCSI_GET_ADDRESS));
  const Control& sent = driver_->controls[2];
  EXPECT_EQ(sent.code, static_cast<platform::Dword>(IOCTL_SCSI_PASS_THROUGH_DIRECT));
  EXPECT_EQ(sent.inSize, 80u);
  EXPECT_EQ(sent.outSize, 80u);
  EXPECT_EQ(sent.direct.Length, sizeof(SCSI_PASS_THROUGH_DIRECT));
  EXPECT_EQ(sent.direct.PathId, 1);
  EXPECT_EQ(sent.direct.TargetId, 2);
  EXPECT_EQ(sent.direct.Lun, 0);
  EXPECT_EQ(sent.direct.CdbLength, 12);
  EXPECT_EQ(sent.direct.SenseInfoLength, 18);
  EXPECT_EQ(sent.direct.SenseInfoOffset, 48u);
  EXPECT_EQ(sent.direct.DataIn, SCSI_IOCTL_DATA_IN);
  EXPECT_EQ(sent.direct.DataTransferLength, 96u);
  EXPECT_EQ(sent.direct.TimeOutValue, 2u);
  EXPECT_EQ(sent.direct.DataBuffer, transport_->DataBuffer().data());
  const UCHAR inquiry[12] = {0x12, 0, 0, 0, 0x60, 0};
  EXPECT_EQ(std::memcmp(sent.direct.Cdb, inquiry, sizeof(inquiry)), 0);

  EXPECT_EQ(transport_->CloseDrive(), 0);
  EXPECT_EQ(driver_->closed, std::vector<platform::Handle>{kDriveHandle});
}

TEST_F(WindowsPassThroughTest, SenseIsReadWhereTheRecordSaysTheDriverPutIt) {
  ASSERT_NO_FATAL_FAILURE(Start(drvcmd::ProgramId::kPaceSpti));
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  DriveAnswer notReady;
  notReady.scsiStatus = 0x02;
  notReady.sense = {0x70, 0, 0x02, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x3A, 0x01, 0, 0, 0, 0};
  driver_->answers.push_back(notReady);
  EXPECT_EQ(drvcmd::SendTestUnitReady(*transport_, {'D', 0, 0}), drvcmd::kOutcomeCheckCondition);
  EXPECT_EQ(transport_->LastScsiStatus(), 0x02);
  EXPECT_EQ(transport_->LastSense()[2], 0x02);
  EXPECT_EQ(transport_->LastSense()[12], 0x3A);
  EXPECT_EQ(transport_->LastSense()[13], 0x01);
  const Control& sent = driver_->controls.back();
  EXPECT_EQ(sent.direct.DataIn, SCSI_IOCTL_DATA_IN) << "commands without data go as data-in";
  EXPECT_EQ(sent.direct.DataTransferLength, 0u);
}

TEST_F(WindowsPassThroughTest, BufferedInquiryUsesTheRecordsDataArea) {
  ASSERT_NO_FATAL_FAILURE(Start(drvcmd::ProgramId::kFlashSpti));
  ASSERT_EQ(transport_->OpenDrive('D'), 0);
  driver_->answers.push_back(Inquiry());
  ASSERT_EQ(drvcmd::SendInquiry(*transport_, {'D', 0, 0}), drvcmd::kOutcomeGood);
  EXPECT_EQ(std::memcmp(transport_->DataBuffer().data() + 8, "TAVREON DVD-ROM KD-410", 22), 0)
      << "copied from the record's data area";
  const Control& sent = driver_->controls.back();
  EXPECT_EQ(sent.code, static_cast<platform::Dword>(IOCTL_SCSI_PASS_THROUGH));
  EXPECT_EQ(sent.inSize, 592u);
  EXPECT_EQ(sent.outSize, 176u);
  EXPECT_EQ(sent.buffered.Length, sizeof(SCSI_PASS_THROUGH));
  EXPECT_EQ(sent.buffered.DataBufferOffset, 80u);
  EXPECT_EQ(sent.buffered.SenseInfoOffset, 48u);
  EXPECT_EQ(sent.buffered.DataTransferLength, 96u);
}

TEST_F(WindowsPassThroughTest, ALetterWithoutDriveIsNotOpened) {
  ASSERT_NO_FATAL_FAILURE(Start(drvcmd::ProgramId::kZoneSpti));
  EXPECT_EQ(transport_->OpenDrive('Q'), -1);
  EXPECT_TRUE(driver_->controls.empty());
  EXPECT_TRUE(driver_->closed.empty());
}

// The real system: a letter no drive has (the first free one from D:).
TEST(WindowsPassThroughSystem, OpeningALetterWithoutDriveGivesTheSystemsError) {
  const DWORD drives = ::GetLogicalDrives();
  char letter = 0;
  for (char candidate = 'D'; candidate <= 'Y' && letter == 0; ++candidate) {
    if ((drives & (1u << (candidate - 'A'))) == 0) letter = candidate;
  }
  ASSERT_NE(letter, 0) << "every letter has a drive";
  auto system = platform::CreateWindowsPlatform();
  const std::string name = std::string("\\\\.\\") + letter + ":";
  const platform::Handle handle = system->PassThrough().CreateFileA(
      name.c_str(), platform::kGenericRead | platform::kGenericWrite,
      platform::kFileShareRead | platform::kFileShareWrite, platform::kOpenExisting, 0);
  EXPECT_EQ(handle, platform::kInvalidHandleValue);
  const platform::Dword error = system->Kernel32().GetLastError();
  EXPECT_TRUE(error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound)
      << error;
  char text[128] = {};
  EXPECT_GT(system->Kernel32().FormatMessageA(platform::kFormatMessageFromSystem, nullptr, error, 0,
                                              text, sizeof(text)),
            0u);
}

}  // namespace
