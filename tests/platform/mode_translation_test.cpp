// 6-byte MODE commands to a drive behind an ATAPI host, through both Linux
// back-ends: the ATAPI drive refuses them, so they go out in their 10-byte
// form, and the caller gets what a drive that knows the 6-byte form answers.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "platform/linux/linux_aspi.h"
#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_pass_through.h"
#include "tests/platform/fake_device_io.h"
#include "tests/platform/fake_drive.h"
#include "tests/platform/fake_sysfs.h"

namespace platform {
namespace {

using testing::FakeDrive;
using testing::FakeFixedSense;

using Bytes = std::vector<unsigned char>;

constexpr std::size_t kBufferSize = 0x120;
constexpr unsigned char kGuard = 0xEE;
constexpr unsigned char kDbd = 0x08;

// Page 2Ah as an ATAPI drive answers it (22 bytes).
const Bytes kCapabilitiesPage = {0x2A, 0x14, 0x3B, 0x00, 0x71, 0x60, 0x29, 0x00, 0x02, 0xC0, 0x00,
                                 0x02, 0x02, 0x00, 0x02, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
const Bytes kBlockDescriptor = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00};

// What the caller saw of one command.
struct Seen {
  Byte status = 0;
  Bytes sense;  // bytes 2, 12, 13
  Bytes data;   // the bytes transferred
  bool guardKept = true;
  bool operator==(const Seen&) const = default;
};

enum class Backend { kPassThrough, kAspi };

class ModeTranslationTest : public ::testing::TestWithParam<Backend> {
 protected:
  ModeTranslationTest() {
    sysfs_.AddOptical(0, 0, {0, 0, 0, 0}, "ata_piix");     // D:, adapter 0
    sysfs_.AddOptical(1, 1, {1, 0, 0, 0}, "virtio_scsi");  // E:, adapter 1
    atapiDrive_.atapi = true;
    for (FakeDrive* drive : {&atapiDrive_, &scsiDrive_}) drive->modePages = kCapabilitiesPage;
    io_.responder = [this](const std::string& node, sg_io_hdr_t* h) {
      return (node == sysfs_.DevNode("sg0") ? atapiDrive_ : scsiDrive_).Answer(h);
    };
  }

  // Sends a 6-byte command to the ATAPI drive (or the other one) with a
  // buffer of `length` bytes holding `out` (data-out) or guard bytes.
  Seen Send(bool toAtapi, const Bytes& cdb, std::size_t length, bool dataIn,
            const Bytes& out = {}) {
    std::array<unsigned char, kBufferSize> buffer;
    buffer.fill(kGuard);
    std::copy(out.begin(), out.end(), buffer.begin());
    Seen seen;
    std::size_t transferred = 0;
    const unsigned char* sense = nullptr;
    if (GetParam() == Backend::kPassThrough) {
      const Handle drive = passThrough_.CreateFileA(
          toAtapi ? "\\\\.\\D:" : "\\\\.\\E:", kGenericRead | kGenericWrite, 0, 0, 0);
      EXPECT_NE(drive, kInvalidHandleValue);
      record_ = {};
      record_.sptd.Length = sizeof record_.sptd;
      record_.sptd.CdbLength = 12;
      record_.sptd.SenseInfoLength = 18;
      record_.sptd.DataIn = dataIn ? kScsiIoctlDataIn : kScsiIoctlDataOut;
      record_.sptd.DataTransferLength = static_cast<Ulong>(length);
      record_.sptd.DataBuffer = buffer.data();
      record_.sptd.TimeOutValue = 10;
      record_.sptd.SenseInfoOffset = offsetof(ScsiPassThroughDirectWithSense, SenseBuf);
      std::copy(cdb.begin(), cdb.end(), record_.sptd.Cdb);
      Dword returned = 0;
      EXPECT_EQ(passThrough_.DeviceIoControl(drive, kIoctlScsiPassThroughDirect, &record_,
                                             sizeof record_, &record_, sizeof record_, &returned),
                kTrue);
      passThrough_.CloseHandle(drive);
      EXPECT_EQ(record_.sptd.Cdb[0], cdb[0]) << "the caller's command block is its own";
      seen.status = record_.sptd.ScsiStatus;
      transferred = record_.sptd.DataTransferLength;
      if (record_.sptd.SenseInfoLength != 0) sense = record_.SenseBuf;
    } else {
      srb_ = {};
      srb_.SRB_Cmd = kScExecScsiCmd;
      srb_.SRB_HaId = toAtapi ? 0 : 1;
      srb_.SRB_Flags = kSrbEventNotify | (dataIn ? kSrbDirIn : kSrbDirOut);
      srb_.SRB_BufLen = static_cast<Dword>(length);
      srb_.SRB_BufPointer = buffer.data();
      srb_.SRB_SenseLen = 18;
      srb_.SRB_CDBLen = 6;
      std::copy(cdb.begin(), cdb.end(), srb_.CDBByte);
      const Handle event = kernel_.CreateEventA(kFalse, kFalse);
      srb_.SRB_PostProc = reinterpret_cast<void*>(event);
      if (aspi_.SendASPI32Command(&srb_) == kSsPending)
        kernel_.WaitForSingleObject(event, kInfinite);
      kernel_.CloseHandle(event);
      seen.status = srb_.SRB_TargStat;
      // ASPI tells no count: the bytes before the first untouched one.
      while (dataIn && transferred < length && buffer[transferred] != kGuard) ++transferred;
      if (srb_.SRB_Status == kSsErr) sense = srb_.SenseArea;
    }
    if (sense != nullptr) seen.sense = {sense[2], sense[12], sense[13]};
    if (!dataIn) return seen;
    seen.data.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(transferred));
    for (std::size_t i = transferred; i < buffer.size(); ++i) {
      seen.guardKept = seen.guardKept && buffer[i] == kGuard;
    }
    return seen;
  }
  Bytes LastCdbTo(const std::string& node) const {
    for (auto it = io_.calls.rbegin(); it != io_.calls.rend(); ++it) {
      if (it->node == sysfs_.DevNode(node)) {
        const std::size_t length = std::min<std::size_t>(it->cdb.size(), 10);
        return Bytes(it->cdb.begin(), it->cdb.begin() + static_cast<std::ptrdiff_t>(length));
      }
    }
    return {};
  }

  testing::FakeSysfs sysfs_;
  testing::FakeDeviceIo io_;
  LinuxKernel kernel_;
  FakeDrive atapiDrive_;
  FakeDrive scsiDrive_;
  LinuxPassThrough passThrough_{kernel_, io_, sysfs_.Layout(), std::nullopt};
  LinuxAspiManager aspi_{kernel_, io_, sysfs_.Layout()};
  ScsiPassThroughDirectWithSense record_{};
  SrbExecScsiCmd srb_{};
};

TEST_P(ModeTranslationTest, ModeSenseAnswersAsADriveThatKnowsTheSixByteForm) {
  const struct {
    const char* what;
    unsigned char flags;
    unsigned char allocation;
    std::size_t buffer;
    bool descriptor;
    std::size_t answered;  // what the drive answers at most, in the 6-byte form
  } cases[] = {
      {"the speed utility's capabilities page", kDbd, 26, 26, false, SIZE_MAX},
      {"block descriptor and its length", 0, 0xFF, 0xFF, true, SIZE_MAX},
      {"allocation length cuts the answer", 0, 10, 0xFF, true, SIZE_MAX},
      {"the caller's buffer cuts the answer", kDbd, 26, 12, false, SIZE_MAX},
      {"a drive answering fewer bytes than asked", kDbd, 26, 26, false, 15},
  };
  for (const auto& c : cases) {
    for (FakeDrive* drive : {&atapiDrive_, &scsiDrive_}) {
      drive->blockDescriptors = c.descriptor ? kBlockDescriptor : Bytes{};
    }
    scsiDrive_.modeAnswerLimit = c.answered;
    atapiDrive_.modeAnswerLimit = c.answered == SIZE_MAX ? SIZE_MAX : c.answered + 4;
    const Bytes cdb = {0x1A, c.flags, 0x2A, 0x00, c.allocation, 0x00};
    const Seen atapi = Send(true, cdb, c.buffer, true);
    const Seen native = Send(false, cdb, c.buffer, true);
    EXPECT_EQ(atapi, native) << c.what;
    EXPECT_EQ(atapi.status, 0) << c.what;
    EXPECT_TRUE(atapi.guardKept) << c.what;
    const unsigned allocation10 = c.allocation + 4u;
    EXPECT_EQ(LastCdbTo("sg0"),
              (Bytes{0x5A, c.flags, 0x2A, 0, 0, 0, 0, static_cast<unsigned char>(allocation10 >> 8),
                     static_cast<unsigned char>(allocation10), 0}))
        << c.what;
    EXPECT_EQ(LastCdbTo("sg1")[0], 0x1A) << "a SCSI host gets the command as it is";
  }
  // The header of the whole capabilities page, written out once.
  for (FakeDrive* drive : {&atapiDrive_, &scsiDrive_}) drive->blockDescriptors.clear();
  atapiDrive_.modeAnswerLimit = SIZE_MAX;
  const Seen page = Send(true, {0x1A, kDbd, 0x2A, 0x00, 26, 0x00}, 26, true);
  ASSERT_EQ(page.data.size(), 26u);
  EXPECT_EQ(Bytes(page.data.begin(), page.data.begin() + 6), (Bytes{25, 0x70, 0, 0, 0x2A, 0x14}));
}

TEST_P(ModeTranslationTest, HeaderCutShortGivesOnlyTheFieldsItHolds) {
  atapiDrive_.modeAnswerLimit = 5;  // data length, medium type, device-specific byte
  const Seen seen = Send(true, {0x1A, kDbd, 0x2A, 0x00, 26, 0x00}, 26, true);
  EXPECT_EQ(seen.data, (Bytes{25, 0x70, 0x00}));
  EXPECT_TRUE(seen.guardKept);
}

TEST_P(ModeTranslationTest, ModeSelectParameterListGetsTheLongerHeader) {
  const Bytes page = {0x2A, 0x02, 0x12, 0x34};
  Bytes list = {0x00, 0x70, 0x10, 0x08};
  list.insert(list.end(), kBlockDescriptor.begin(), kBlockDescriptor.end());
  list.insert(list.end(), page.begin(), page.end());
  const auto length = static_cast<unsigned char>(list.size());
  const Bytes cdb = {0x15, 0x11, 0x00, 0x00, length, 0x07};

  const Seen atapi = Send(true, cdb, list.size(), false, list);
  EXPECT_EQ(atapi.status, 0);
  EXPECT_EQ(LastCdbTo("sg0"),
            (Bytes{0x55, 0x11, 0, 0, 0, 0, 0, 0, static_cast<unsigned char>(length + 4), 0x07}));
  Bytes list10 = {0x00, 0x00, 0x70, 0x10, 0x00, 0x00, 0x00, 0x08};
  list10.insert(list10.end(), kBlockDescriptor.begin(), kBlockDescriptor.end());
  list10.insert(list10.end(), page.begin(), page.end());
  EXPECT_EQ(atapiDrive_.modeSelectList, list10);
  if (GetParam() == Backend::kPassThrough) {
    EXPECT_EQ(record_.sptd.DataTransferLength, list.size()) << "the whole 6-byte list went out";
    // A drive that takes only the 10-byte header and 4 bytes took 8 of the list.
    atapiDrive_.modeAnswerLimit = 12;
    Send(true, cdb, list.size(), false, list);
    EXPECT_EQ(record_.sptd.DataTransferLength, 8u);
  }

  Send(false, cdb, list.size(), false, list);
  EXPECT_EQ(scsiDrive_.modeSelectList, list);
}

TEST_P(ModeTranslationTest, RefusedTenByteFormReachesTheCallerWithItsSense) {
  atapiDrive_.refusals[0x5A] = FakeFixedSense(0x05, 0x24, 0x00);
  atapiDrive_.refusals[0x55] = FakeFixedSense(0x05, 0x26, 0x02);
  const Seen sense = Send(true, {0x1A, kDbd, 0x2A, 0x00, 26, 0x00}, 26, true);
  EXPECT_EQ(sense.status, 0x02);
  EXPECT_EQ(sense.sense, (Bytes{0x05, 0x24, 0x00}));
  EXPECT_TRUE(sense.data.empty());
  const Bytes list = {0, 0, 0, 0, 0x2A, 0x02, 0, 0};
  const Seen select = Send(true, {0x15, 0x10, 0x00, 0x00, 8, 0x00}, list.size(), false, list);
  EXPECT_EQ(select.status, 0x02);
  EXPECT_EQ(select.sense, (Bytes{0x05, 0x26, 0x02}));
}

INSTANTIATE_TEST_SUITE_P(BothBackends, ModeTranslationTest,
                         ::testing::Values(Backend::kPassThrough, Backend::kAspi),
                         [](const ::testing::TestParamInfo<Backend>& info) {
                           return info.param == Backend::kPassThrough ? "PassThrough" : "Aspi";
                         });

}  // namespace
}  // namespace platform
