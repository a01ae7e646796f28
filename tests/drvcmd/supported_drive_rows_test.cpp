// Every row of both updaters' supported-drive tables, identified through a
// drive that reports exactly that vendor and product, and the speed utility's
// rule that only a peripheral byte of exactly 05h is listed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "drvcmd/drive_identify.h"
#include "drvcmd/drive_scan.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_notice.h"

namespace {

using drvcmd::ProgramId;
using testsupport::MakeInquiry;

struct KnownDrive {
  const char* row;  // 24 characters of vendor and product, a blank, tag and digit
  int generation;
  bool passThroughUpdater;
  bool aspiUpdater;
};

// The drives the updaters accept, in table order.
const std::vector<KnownDrive>& KnownDrives() {
  static const std::vector<KnownDrive> drives = {
      {"TAVREON DVD-ROM KD-310   G5", 5, true, true},
      {"TAVREON DVD-ROM KD-320   G5", 5, true, true},
      {"TAVREON DVD-ROM KD-310R  G5", 5, true, true},
      {"TAVREON DVD-ROM KD-320R  G5", 5, true, true},
      {"Orbec   DVD-ROM KD-320   G5", 5, true, true},
      {"TAVREON DVD-ROM KD-410   G6", 6, true, true},
      {"TAVREON DVD-ROM KD-420   G6", 6, true, true},
      {"TAVREON DVD-ROM KD-410R  G6", 6, true, true},
      {"TAVREON DVD-ROM KD-420R  G6", 6, true, true},
      {"Orbec   DVD-ROM KD-420   G6", 6, true, true},
      {"TAVREON KD-420RD         G6", 6, true, true},
      {"TAVREON 12X DVD-ROM      G6", 6, true, false},
      {"TAVREON 16X DVD-ROM      G6", 6, true, false},
      {"Lumax   KD-4200 PRO      G6", 6, true, true},
      {"TAVREON DVD-ROM KD-520   G7", 7, true, true},
      {"TAVREON DVD-ROM KD-520R  G7", 7, true, true},
      {"Orbec   DVD-ROM KD-520   G7", 7, false, true},
  };
  return drives;
}

std::vector<std::string> ExpectedRows(bool aspi) {
  std::vector<std::string> rows;
  for (const KnownDrive& drive : KnownDrives()) {
    if (aspi ? drive.aspiUpdater : drive.passThroughUpdater) rows.emplace_back(drive.row);
  }
  return rows;
}

std::vector<std::string> TableRows(ProgramId program) {
  std::vector<std::string> rows;
  for (const drvcmd::SupportedDriveRow& row : drvcmd::SupportedDriveTable(program)) {
    EXPECT_EQ(row[27], '\0') << "each row ends in a zero byte";
    rows.emplace_back(row.data());
  }
  return rows;
}

// The drive's INQUIRY: the row's vendor and product, then a revision no row names.
std::array<std::uint8_t, 96> InquiryOf(const KnownDrive& drive) {
  std::array<std::uint8_t, 96> inquiry{};
  inquiry[0] = 0x05;
  std::memcpy(inquiry.data() + 8, drive.row, 24);
  std::memcpy(inquiry.data() + 32, "9.87WXYZ", 8);
  return inquiry;
}

TEST(SupportedDriveRowsTest, EachUpdaterHoldsExactlyItsRowsInTableOrder) {
  EXPECT_EQ(TableRows(ProgramId::kFlashSpti), ExpectedRows(false));
  EXPECT_EQ(TableRows(ProgramId::kFlashAspi), ExpectedRows(true));
}

TEST(SupportedDriveRowsTest, EveryRowIdentifiesItsDriveWithItsGeneration) {
  for (const bool aspi : {false, true}) {
    for (const KnownDrive& drive : KnownDrives()) {
      SCOPED_TRACE(std::string(aspi ? "flashaspi: " : "flashspti: ") + drive.row);
      testsupport::FakePlatform system;
      testsupport::RecordingNotice notice;
      drvcmd::DriveIdentity identity;
      identity.driveGeneration = 3;  // what an earlier identification left
      int result = 0;
      if (aspi) {
        system.aspi.adapters = {"SCSI"};
        system.aspi.targets[{0, 2}].inquiry = InquiryOf(drive);
        drvcmd::AspiTransport transport(ProgramId::kFlashAspi, system, notice);
        ASSERT_EQ(transport.StartTransport(), drvcmd::kStartOk);
        result = drvcmd::IdentifyDrive(transport, drvcmd::DriveAddress{0, 0, 2}, identity);
      } else {
        system.passThrough.devices['E'].inquiry = InquiryOf(drive);
        drvcmd::SptiTransport transport(ProgramId::kFlashSpti, system, notice);
        ASSERT_EQ(transport.StartTransport(), drvcmd::kStartOk);
        ASSERT_EQ(transport.OpenDrive('E'), 0);
        result = drvcmd::IdentifyDrive(transport, drvcmd::DriveAddress{'E', 0, 0}, identity);
      }
      const bool supported = aspi ? drive.aspiUpdater : drive.passThroughUpdater;
      EXPECT_EQ(result, supported ? 0 : 1);
      EXPECT_EQ(identity.driveGeneration, supported ? drive.generation : 3);
      if (supported) {
        EXPECT_EQ(std::string(identity.inquiryIdentity.begin(), identity.inquiryIdentity.end()),
                  std::string(drive.row, 24) + "9.87WXYZ");
      }
    }
  }
}

TEST(SpeedUtilityListTest, OnlyAPeripheralByteOfExactly05hIsListed) {
  testsupport::FakePlatform system;
  testsupport::RecordingNotice notice;
  system.aspi.adapters = {"SCSI HOST"};
  const std::uint8_t peripherals[] = {0x05, 0x85, 0x25, 0x65, 0x04, 0x45, 0x05};
  for (std::uint8_t target = 0; target < std::size(peripherals); ++target) {
    system.aspi.targets[{0, target}].inquiry =
        MakeInquiry(peripherals[target], "TAVREON DVD-ROM KD-410  1.00");
  }
  drvcmd::AspiTransport transport(ProgramId::kPaceAspi, system, notice);
  ASSERT_EQ(transport.StartTransport(), drvcmd::kStartOk);
  drvcmd::DriveCombo combo;
  drvcmd::ScanDrives(transport, combo);
  // Qualifier bits (bits 5-7) set on a CD/DVD device keep it off the list.
  EXPECT_EQ(combo.labels, (std::vector<std::string>{"ID=0 : TAVREON DVD-ROM KD-410   SCSI HOST",
                                                    "ID=6 : TAVREON DVD-ROM KD-410   SCSI HOST"}));
  ASSERT_EQ(combo.addresses.size(), 2u);
  EXPECT_EQ(combo.addresses[1].target, 6);
}

}  // namespace
