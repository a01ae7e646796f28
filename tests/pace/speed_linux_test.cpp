// The speed operations on Linux through SG_IO, with the device calls scripted
// as a real drive and host answer: a refusal with sense, a host failure that
// comes back with SCSI status GOOD, a short capabilities reply.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "pace/speed_control.h"
#include "platform/linux/linux_platform.h"
#include "tests/platform/fake_device_io.h"
#include "tests/platform/fake_drive.h"
#include "tests/platform/fake_sysfs.h"
#include "tests/support/fake_speed_ui.h"

namespace {

using platform::testing::FakeDeviceIo;
using platform::testing::FakeSysfs;

constexpr unsigned char kOpInquiry = 0x12;
constexpr unsigned char kOpSetCdSpeed = 0xBB;
constexpr unsigned kDidNoConnect = 0x01;

// A TAVREON CD/DVD drive's INQUIRY answer.
void AnswerInquiry(sg_io_hdr_t* header) {
  auto* data = static_cast<unsigned char*>(header->dxferp);
  std::memset(data, ' ', header->dxfer_len);
  data[0] = 0x05;
  std::memcpy(data + 8, "TAVREON DVD-ROM KD-410  ", 24);
}

// CHECK CONDITION with fixed-format sense, handed over once with the command.
void RefuseWithSense(sg_io_hdr_t* header, unsigned char key, unsigned char asc) {
  header->status = 0x02;
  header->masked_status = 0x01;
  header->driver_status = 0x08;  // DRIVER_SENSE
  const unsigned char sense[18] = {0x70, 0, key, 0, 0, 0, 0, 10, 0, 0, 0, 0, asc, 0x00};
  const std::size_t n = std::min<std::size_t>(sizeof sense, header->mx_sb_len);
  std::memcpy(header->sbp, sense, n);
  header->sb_len_wr = static_cast<unsigned char>(n);
}

class SpeedOnLinuxTest : public ::testing::Test {
 protected:
  void Start(const pace::PaceVariant& variant) {
    control_.reset();
    io_ = std::make_shared<FakeDeviceIo>();
    system_.reset();
    sysfs_ = std::make_unique<FakeSysfs>();
    sysfs_->AddOptical(0, 0, {0, 0, 0, 0}, "ahci");
    platform::LinuxPlatformOptions options;
    options.layout = sysfs_->Layout();
    options.deviceIo = io_;
    std::string error;
    system_ = platform::CreateLinuxPlatform(options, &error);
    ASSERT_NE(system_, nullptr) << error;
    Respond([](const unsigned char*, sg_io_hdr_t*) {});
    control_ = std::make_unique<pace::SpeedControl>(variant, *system_, ui_);
    ASSERT_EQ(control_->Start(), drvcmd::kStartOk);
    drvcmd::DriveCombo combo;
    control_->ScanDrives(combo);
    ASSERT_EQ(combo.labels.size(), 1u);
    ui_.drive = 0;
    ui_.extraction = 0;
  }

  // Answers INQUIRY; everything else through `command`.
  void Respond(std::function<void(const unsigned char* cdb, sg_io_hdr_t*)> command) {
    io_->responder = [command](const std::string&, sg_io_hdr_t* header) {
      if (header->cmdp[0] == kOpInquiry) {
        AnswerInquiry(header);
      } else {
        command(header->cmdp, header);
      }
      return 0;
    };
  }

  std::unique_ptr<FakeSysfs> sysfs_;
  std::shared_ptr<FakeDeviceIo> io_ = std::make_shared<FakeDeviceIo>();
  std::unique_ptr<platform::Platform> system_;
  testsupport::FakeSpeedUi ui_;
  std::unique_ptr<pace::SpeedControl> control_;
};

TEST_F(SpeedOnLinuxTest, RefusedSetCdSpeedGivesTheDrivesSenseTriple) {
  for (const pace::PaceVariant* variant :
       {&pace::PaceVariant::Spti(), &pace::PaceVariant::Aspi()}) {
    Start(*variant);
    Respond([](const unsigned char* cdb, sg_io_hdr_t* header) {
      if (cdb[0] == kOpSetCdSpeed) RefuseWithSense(header, 0x05, 0x24);
      if (cdb[0] == 0x00) RefuseWithSense(header, 0x02, 0x3A);  // no disc
      // The drive handed its sense over with the command: a later REQUEST
      // SENSE finds none.
      if (cdb[0] == 0x03 && header->dxfer_len >= 14) {
        auto* data = static_cast<unsigned char*>(header->dxferp);
        std::memset(data, 0, header->dxfer_len);
        data[0] = 0x70;
        data[7] = 10;
      }
    });
    EXPECT_EQ(control_->ChangeDriveMode(pace::DriveMode::kQuietTemporary), -1);
    EXPECT_EQ(ui_.box, "Failed to change to quiet mode. (05-24-00)") << variant->applicationTitle;
  }
}

// An ATAPI drive knows only MODE SENSE(10): both builds read its speeds.
TEST_F(SpeedOnLinuxTest, AtapiDriveReportsItsSpeedsToBothBuilds) {
  platform::testing::FakeDrive drive;
  drive.atapi = true;
  drive.modePages = {0x2A, 0x14, 0x3B, 0x00, 0x71, 0x60, 0x29, 0x00, 0x02, 0xC0, 0x00,
                     0x02, 0x02, 0x00, 0x02, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  for (const pace::PaceVariant* variant :
       {&pace::PaceVariant::Spti(), &pace::PaceVariant::Aspi()}) {
    Start(*variant);
    io_->responder = [&drive](const std::string&, sg_io_hdr_t* h) { return drive.Answer(h); };
    EXPECT_EQ(control_->ShowDriveSpeeds(), 0) << variant->applicationTitle;
    EXPECT_EQ(ui_.box, "Current Speed = 704kbytes/s(4X)\r\nMaximum Speed = 704kbytes/s(4X)")
        << variant->applicationTitle;
    EXPECT_EQ(io_->calls.back().cdb[0], 0x5A);
  }
}

TEST_F(SpeedOnLinuxTest, HostFailureWithStatusGoodIsNeverASuccess) {
  for (const pace::PaceVariant* variant :
       {&pace::PaceVariant::Spti(), &pace::PaceVariant::Aspi()}) {
    Start(*variant);
    Respond([](const unsigned char*, sg_io_hdr_t* header) {
      header->status = 0;
      header->host_status = kDidNoConnect;
    });
    EXPECT_EQ(control_->SetExtractionSpeed(), -1);
    EXPECT_EQ(ui_.box, "Failed to change the CD-DA extraction speed. (00-00-00)")
        << variant->applicationTitle;
    EXPECT_EQ(control_->ShowDriveSpeeds(), -1);
    EXPECT_EQ(ui_.box, "Failed to get mechanism status & capabilities page. (00-00-00)");
  }
}

TEST_F(SpeedOnLinuxTest, ShortCapabilitiesReplyReadsAsNoSpeeds) {
  Start(pace::PaceVariant::Spti());
  Respond([](const unsigned char*, sg_io_hdr_t* header) {
    // The drive answers the header and the first page bytes only.
    auto* data = static_cast<unsigned char*>(header->dxferp);
    std::memset(data, 0xAA, 12);
    header->resid = static_cast<int>(header->dxfer_len) - 12;
  });
  EXPECT_EQ(control_->ShowDriveSpeeds(), 0);
  EXPECT_EQ(ui_.box, "Commnad success but paramater is not supported.");
}

}  // namespace
