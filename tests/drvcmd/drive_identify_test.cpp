// The supported-drive tables, identification and the updaters' check of the
// tree selection.
#include "drvcmd/drive_identify.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/fake_platform.h"
#include "tests/support/recording_notice.h"

namespace {

using drvcmd::ProgramId;
using testsupport::MakeInquiry;

std::string RowText(const drvcmd::SupportedDriveRow& row) { return std::string(row.data()); }

class FakeSelection : public drvcmd::DriveSelection {
 public:
  void TakeFieldValues() override { ++exchanges; }
  std::optional<std::string> SelectedText() override { return text; }
  std::optional<std::string> SelectedParentText() override { return parent; }
  std::optional<std::string> text;
  std::optional<std::string> parent;
  int exchanges = 0;
};

TEST(SupportedDriveTableTest, EachUpdaterHoldsItsOwnRows) {
  const auto spti = drvcmd::SupportedDriveTable(ProgramId::kFlashSpti);
  const auto aspi = drvcmd::SupportedDriveTable(ProgramId::kFlashAspi);
  ASSERT_EQ(spti.size(), 16u);
  ASSERT_EQ(aspi.size(), 15u);
  EXPECT_EQ(RowText(spti[0]), "TAVREON DVD-ROM KD-310   G5");
  EXPECT_EQ(RowText(spti[11]), "TAVREON 12X DVD-ROM      G6");
  EXPECT_EQ(RowText(spti[15]), "TAVREON DVD-ROM KD-520R  G7");
  EXPECT_EQ(RowText(aspi[11]), "Lumax   KD-4200 PRO      G6");
  EXPECT_EQ(RowText(aspi[14]), "Orbec   DVD-ROM KD-520   G7");
  for (const auto& row : spti) EXPECT_EQ(row[27], '\0');
  EXPECT_TRUE(drvcmd::SupportedDriveTable(ProgramId::kZoneSpti).empty());
}

TEST(SupportedDriveTableTest, GenerationComesFromTheTag) {
  drvcmd::SupportedDriveRow row{};
  std::memcpy(row.data(), "TAVREON DVD-ROM KD-310   S5", 27);
  EXPECT_EQ(drvcmd::GenerationOf(row, 3), 0x15);
  row[25] = 'X';
  EXPECT_EQ(drvcmd::GenerationOf(row, 3), 3);
}

class IdentifyTest : public ::testing::Test {
 protected:
  void StartSpti() {
    spti_ = std::make_unique<drvcmd::SptiTransport>(ProgramId::kFlashSpti, system_, notice_);
    ASSERT_EQ(spti_->StartTransport(), drvcmd::kStartOk);
  }
  void StartAspi() {
    system_.aspi.adapters = {"ESDI_506", "SCSI"};
    aspi_ = std::make_unique<drvcmd::AspiTransport>(ProgramId::kFlashAspi, system_, notice_);
    ASSERT_EQ(aspi_->StartTransport(), drvcmd::kStartOk);
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& message : notice_.messages) texts.push_back(message.text);
    return texts;
  }

  testsupport::FakePlatform system_;
  testsupport::RecordingNotice notice_;
  std::unique_ptr<drvcmd::SptiTransport> spti_;
  std::unique_ptr<drvcmd::AspiTransport> aspi_;
  drvcmd::DriveIdentity identity_;
  FakeSelection selection_;
};

TEST_F(IdentifyTest, MatchIsExactOnVendorAndProductOnly) {
  StartSpti();
  auto& devices = system_.passThrough.devices;
  devices['D'].inquiry = MakeInquiry(0x05, "TAVREON 16X DVD-ROM     9.99ABCD");
  devices['E'].inquiry = MakeInquiry(0x05, "TAVREON DVD-ROM KD-310 X1.00");
  ASSERT_EQ(spti_->OpenDrive('D'), 0);
  EXPECT_EQ(drvcmd::IdentifyDrive(*spti_, {}, identity_), 0);
  EXPECT_EQ(identity_.driveGeneration, 6);
  EXPECT_EQ(std::memcmp(identity_.inquiryIdentity.data(), "TAVREON 16X DVD-ROM     9.99ABCD", 32),
            0);

  // One trailing character differs: not supported, earlier values kept.
  ASSERT_EQ(spti_->OpenDrive('E'), 0);
  EXPECT_EQ(drvcmd::IdentifyDrive(*spti_, {}, identity_), 1);
  EXPECT_EQ(identity_.driveGeneration, 6);
  EXPECT_EQ(identity_.inquiryIdentity[0], 'T');
}

TEST_F(IdentifyTest, AspiUpdaterClearsTheIdentityButKeepsTheGeneration) {
  StartAspi();
  system_.aspi.targets[{0, 0}].inquiry = MakeInquiry(0x05, "Orbec   DVD-ROM KD-520  1.00");
  system_.aspi.targets[{0, 1}].answers = false;
  EXPECT_EQ(drvcmd::IdentifyDrive(*aspi_, {0, 0, 0}, identity_), 0);
  EXPECT_EQ(identity_.driveGeneration, 7);
  EXPECT_EQ(drvcmd::IdentifyDrive(*aspi_, {0, 0, 1}, identity_), -1);
  EXPECT_EQ(identity_.driveGeneration, 7);
  EXPECT_EQ(identity_.inquiryIdentity, (std::array<std::uint8_t, 32>{}));
}

TEST_F(IdentifyTest, PassThroughCheckKeepsOnlyAnIdentifiedDriveOpen) {
  StartSpti();
  auto& devices = system_.passThrough.devices;
  devices['D'].inquiry = MakeInquiry(0x05, "TAVREON DVD-ROM KD-420  1.00");
  devices['E'].inquiry = MakeInquiry(0x05, "OTHER   CD-ROM          1.00");
  devices['F'].openFails = true;

  EXPECT_EQ(drvcmd::CheckSelectedDrive(*spti_, selection_, identity_), -1);  // nothing selected
  selection_.text = "F: whatever";
  EXPECT_EQ(drvcmd::CheckSelectedDrive(*spti_, selection_, identity_), -1);
  selection_.text = "E: OTHER   CD-ROM          (C/DVD-ROM)";
  EXPECT_EQ(drvcmd::CheckSelectedDrive(*spti_, selection_, identity_), 1);
  EXPECT_FALSE(spti_->DriveIsOpen());
  selection_.text = "D: TAVREON DVD-ROM KD-420   (C/DVD-ROM)";
  EXPECT_EQ(drvcmd::CheckSelectedDrive(*spti_, selection_, identity_), 0);
  EXPECT_TRUE(spti_->DriveIsOpen());
  EXPECT_EQ(spti_->OpenLetter(), 'D');
  EXPECT_EQ(identity_.selected.letter, 'D');
  EXPECT_EQ(identity_.driveGeneration, 6);

  EXPECT_EQ(Messages(), (std::vector<std::string>{"You did not select an available drive.",
                                                  "You did not select an available drive.",
                                                  "This drive is not supported by this program"}));
  EXPECT_EQ(selection_.exchanges, 4);
}

TEST_F(IdentifyTest, AspiCheckReadsTargetAndAdapterFromTheTree) {
  StartAspi();
  system_.aspi.targets[{1, 3}].inquiry = MakeInquiry(0x05, "TAVREON 16X DVD-ROM     1.00");
  system_.aspi.targets[{1, 4}].answers = false;

  selection_.text = "01 : SCSI";  // an adapter item
  EXPECT_EQ(drvcmd::CheckSelectedDrive(*aspi_, selection_, identity_), -1);
  selection_.text = "ID=2 : None";
  selection_.parent = "01 : SCSI";
  EXPECT_EQ(drvcmd::CheckSelectedDrive(*aspi_, selection_, identity_), -1);
  EXPECT_TRUE(system_.aspi.requests.empty());

  // Not in this updater's table: a warning, and the update goes on.
  selection_.text = "ID=3 : TAVREON 16X DVD-ROM     1.00";
  EXPECT_EQ(drvcmd::CheckSelectedDrive(*aspi_, selection_, identity_), 0);
  EXPECT_EQ(identity_.selected.adapter, 1);
  EXPECT_EQ(identity_.selected.target, 3);
  EXPECT_EQ(system_.aspi.requests.back().SRB_HaId, 1);
  EXPECT_EQ(system_.aspi.requests.back().SRB_Target, 3);

  selection_.text = "ID=4 : TAVREON DVD-ROM KD-420  1.00";  // stopped answering since
  EXPECT_EQ(drvcmd::CheckSelectedDrive(*aspi_, selection_, identity_), -1);

  EXPECT_EQ(Messages(), (std::vector<std::string>{"You did not select an available drive.",
                                                  "You did not select an available drive.",
                                                  "This drive is not supported by this program",
                                                  "You did not select an available drive."}));
}

TEST_F(IdentifyTest, AspiCheckSurvivesTextsShorterThanATargetLabel) {
  StartAspi();
  selection_.parent = "00 : ATAPI Interface";
  for (const char* text : {"ID=", "ID=x"}) {
    selection_.text = text;
    EXPECT_EQ(drvcmd::CheckSelectedDrive(*aspi_, selection_, identity_), -1) << text;
  }
  EXPECT_TRUE(system_.aspi.requests.empty());
  // A digit is enough to name the target; nothing marks it silent.
  selection_.text = "ID=1";
  EXPECT_EQ(drvcmd::CheckSelectedDrive(*aspi_, selection_, identity_), -1);
  ASSERT_FALSE(system_.aspi.requests.empty());
  EXPECT_EQ(system_.aspi.requests.back().SRB_Target, 1);
  EXPECT_EQ(Messages().size(), 3u);
}

}  // namespace
