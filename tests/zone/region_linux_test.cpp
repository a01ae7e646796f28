// The region query on the Linux pass-through with scripted SG_IO answers: a
// drive or host that refuses REPORT KEY, or answers it without its data, reads
// as "Get drive region is failed.", never as a state of zeros.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "platform/linux/linux_platform.h"
#include "tests/platform/fake_device_io.h"
#include "tests/platform/fake_sysfs.h"
#include "tests/support/fake_region_ui.h"
#include "zone/region_utility.h"

namespace {

constexpr unsigned char kCheckCondition = 0x02;
constexpr unsigned short kHostError = 0x07;  // DID_ERROR

// INQUIRY of a TAVREON DVD drive, READ DVD STRUCTURE of a region 2 disc; REPORT
// KEY as the test says.
class RegionOnLinuxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sysfs_.AddOptical(0, 1, {2, 0, 0, 0});
    io_ = std::make_shared<platform::testing::FakeDeviceIo>();
    io_->responder = [this](const std::string&, sg_io_hdr_t* header) {
      header->status = 0;
      header->host_status = 0;
      header->resid = 0;
      switch (header->cmdp[0]) {
        case 0x12: {
          static const char kInquiry[] = "\x05\x80\x00\x32\x5b\x00\x00\x00TAVREON DVD-ROM KD-410  ";
          std::memcpy(header->dxferp, kInquiry, sizeof kInquiry - 1);
          header->resid = static_cast<int>(header->dxfer_len - (sizeof kInquiry - 1));
          return 0;
        }
        case 0xAD: {
          const unsigned char disc[8] = {0, 6, 0, 0, 0x01, 0xFD, 0, 0};
          std::memcpy(header->dxferp, disc, sizeof disc);
          return 0;
        }
        case 0xA4:
          return reportKey(header);
        default:
          return 0;
      }
    };
    platform::LinuxPlatformOptions options;
    options.layout = sysfs_.Layout();
    options.deviceIo = io_;
    std::string error;
    system_ = platform::CreateLinuxPlatform(options, &error);
    ASSERT_NE(system_, nullptr) << error;
    utility_ = std::make_unique<zone::RegionUtility>(*system_, ui_);
    ASSERT_EQ(utility_->Start(), 0);
    ASSERT_EQ(utility_->ScanDrives().labels.size(), 1u);
    // The scan left INQUIRY data in the data buffer: a missing answer must not be read from it.
    ui_.selected = 0;
  }

  platform::testing::FakeSysfs sysfs_;
  std::shared_ptr<platform::testing::FakeDeviceIo> io_;
  std::function<int(sg_io_hdr_t*)> reportKey;
  std::unique_ptr<platform::Platform> system_;
  testsupport::FakeRegionUi ui_;
  std::unique_ptr<zone::RegionUtility> utility_;
};

TEST_F(RegionOnLinuxTest, RpcStateOfARealDriveIsDecoded) {
  reportKey = [](sg_io_hdr_t* header) {
    const unsigned char state[8] = {0, 6, 0, 0, 0x64, 0xFD, 0x01, 0};
    std::memcpy(header->dxferp, state, sizeof state);
    return 0;
  };
  utility_->QueryRegion();
  EXPECT_EQ(ui_.statusText, "Drive's region is 2.\r\nThis disc is allowed region 2\r\n");
  EXPECT_EQ(ui_.changesLeft, "Regional code can be changed 4time(s)");
}

TEST_F(RegionOnLinuxTest, RefusedOrEmptyReportKeyIsAFailure) {
  const std::function<int(sg_io_hdr_t*)> refusals[] = {
      // The drive has no RPC support: CHECK CONDITION, ILLEGAL REQUEST.
      [](sg_io_hdr_t* header) {
        header->status = kCheckCondition;
        header->masked_status = kCheckCondition >> 1;
        const unsigned char sense[18] = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x20, 0x00};
        std::memcpy(header->sbp, sense, std::min<std::size_t>(header->mx_sb_len, sizeof sense));
        header->sb_len_wr =
            static_cast<unsigned char>(std::min<std::size_t>(header->mx_sb_len, 18));
        header->resid = static_cast<int>(header->dxfer_len);
        return 0;
      },
      // The host rejects the command and leaves SCSI status GOOD.
      [](sg_io_hdr_t* header) {
        header->host_status = kHostError;
        header->resid = static_cast<int>(header->dxfer_len);
        return 0;
      },
      // Status GOOD, but no data came.
      [](sg_io_hdr_t* header) {
        header->resid = static_cast<int>(header->dxfer_len);
        return 0;
      },
  };
  for (std::size_t i = 0; i < std::size(refusals); ++i) {
    SCOPED_TRACE(i);
    reportKey = refusals[i];
    ui_.statusText.clear();
    utility_->QueryRegion();
    EXPECT_EQ(ui_.statusText, "Get drive region is failed.\r\nThis disc is allowed region 2\r\n");
    EXPECT_EQ(ui_.changesLeft, testsupport::FakeRegionUi::kTemplateLabel);
    EXPECT_EQ(utility_->LastRpcState().regionMask, 0);
    EXPECT_FALSE(utility_->LastReport().rpcRead);
  }
}

}  // namespace
