// The drive lists of all five programs, built against scripted drives.
#include "drvcmd/drive_scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fake_platform.h"
#include "tests/support/recording_notice.h"

namespace {

using drvcmd::ProgramId;
using testsupport::MakeInquiry;

class RecordingProgress : public drvcmd::ProgressWindow {
 public:
  void Create() override { calls.push_back("create"); }
  void SetRange(int low, int high) override {
    calls.push_back("range " + std::to_string(low) + "-" + std::to_string(high));
  }
  void SetStep(int step) override { calls.push_back("step " + std::to_string(step)); }
  void StepIt() override { calls.push_back("stepit"); }
  void SetText(const std::string& text) override { calls.push_back(text); }
  void Destroy() override { calls.push_back("destroy"); }
  std::vector<std::string> calls;
};

std::vector<std::string> Texts(const drvcmd::DriveTree& tree) {
  std::vector<std::string> texts;
  for (const auto& item : tree.items) texts.push_back(item.text);
  return texts;
}

class PassThroughScanTest : public ::testing::Test {
 protected:
  PassThroughScanTest() {
    auto& devices = system_.passThrough.devices;
    devices['C'].inquiry = MakeInquiry(0x05, "TAVREON DVD-ROM KD-420  ");  // never probed
    devices['D'].inquiry = MakeInquiry(0x05, "TAVREON ABCDEFGHIJKLMNOP1.00");
    devices['E'].inquiry = MakeInquiry(0x04, "Writer  CD-RW 8X        ");
    devices['F'].inquiry = MakeInquiry(0x00, "DISKCO  HARD DISK       ");
    devices['G'].openFails = true;
    devices['H'].script.push_back(testsupport::FakeAnswer::CheckCondition({}));
    devices['I'].inquiry = MakeInquiry(0x25, "TAVREON DVD-ROM KD-410  ");  // qualifier set
    devices['Z'].inquiry = MakeInquiry(0x05, "TAV\0REON DVD-ROM KD-410 ");
  }
  void Start(ProgramId program) {
    transport_ = std::make_unique<drvcmd::SptiTransport>(program, system_, notice_);
    ASSERT_EQ(transport_->StartTransport(), drvcmd::kStartOk);
  }

  testsupport::FakePlatform system_;
  testsupport::RecordingNotice notice_;
  std::unique_ptr<drvcmd::SptiTransport> transport_;
  const std::vector<std::string> expected_ = {
      "D: TAVREON ABCDEFGHIJKLMNOP (C/DVD-ROM)",
      "E: Writer  CD-RW 8X         (CD-R/RW or WORM)",
      "Z: TAV (C/DVD-ROM)",
  };
};

TEST_F(PassThroughScanTest, UpdaterTreeListsCdAndWriteOnceDrivesWithProgress) {
  Start(ProgramId::kFlashSpti);
  drvcmd::DriveTree tree;
  tree.items.push_back({"stale", drvcmd::kNoItem, false});
  RecordingProgress progress;
  drvcmd::ScanDrives(*transport_, tree, progress);

  EXPECT_EQ(Texts(tree), expected_);
  EXPECT_EQ(tree.selected, drvcmd::kNoItem);
  for (const auto& item : tree.items) {
    EXPECT_EQ(item.parent, drvcmd::kNoItem);
    EXPECT_FALSE(item.hasChildren);
    EXPECT_EQ(item.text.find('\0'), std::string::npos);
  }
  // D..Z probed in order, C never; every opened drive closed again.
  ASSERT_EQ(system_.passThrough.opens.size(), 23u);
  EXPECT_EQ(system_.passThrough.opens.front().path, "\\\\.\\D:");
  EXPECT_EQ(system_.passThrough.opens.back().path, "\\\\.\\Z:");
  EXPECT_TRUE(system_.passThrough.openHandles.empty());
  EXPECT_FALSE(transport_->DriveIsOpen());

  const auto& calls = progress.calls;
  ASSERT_EQ(calls.size(), 3u + 2 * 23 + 1);
  EXPECT_EQ(calls[0], "create");
  EXPECT_EQ(calls[1], "range 0-23");
  EXPECT_EQ(calls[2], "step 1");
  EXPECT_EQ(calls[3], "stepit");
  EXPECT_EQ(calls[4], "Now checking device No.0");
  EXPECT_EQ(calls[3 + 2 * 22 + 1], "Now checking device No.22");
  EXPECT_EQ(calls.back(), "destroy");
  EXPECT_TRUE(notice_.messages.empty());
}

TEST_F(PassThroughScanTest, UtilityComboSelectsTheFirstDrive) {
  for (ProgramId program : {ProgramId::kZoneSpti, ProgramId::kPaceSpti}) {
    Start(program);
    drvcmd::DriveCombo combo;
    drvcmd::ScanDrives(*transport_, combo);
    EXPECT_EQ(combo.labels, expected_);
    EXPECT_EQ(combo.selected, 0);
    ASSERT_EQ(combo.addresses.size(), 3u);
    EXPECT_EQ(combo.addresses[1].letter, 'E');
  }
}

TEST_F(PassThroughScanTest, NoDrivesLeaveEmptyListsWithoutSelection) {
  system_.passThrough.devices.clear();
  Start(ProgramId::kZoneSpti);
  drvcmd::DriveCombo combo;
  combo.labels = {"stale"};
  combo.selected = 0;
  drvcmd::ScanDrives(*transport_, combo);
  EXPECT_TRUE(combo.labels.empty());
  EXPECT_EQ(combo.selected, drvcmd::kNoItem);
}

class AspiScanTest : public ::testing::Test {
 protected:
  AspiScanTest() {
    system_.aspi.adapters = {"ESDI_506", "AIC78XX_SCSI_CONTROLLER"};
    system_.aspi.targets[{0, 0}].inquiry = MakeInquiry(0x05, "TAVREON DVD-ROM KD-420  1.10XYZ");
    system_.aspi.targets[{0, 1}].answers = false;
    system_.aspi.targets[{1, 2}].inquiry = MakeInquiry(0x00, "DISKCO  HARD DISK       2.00");
    system_.aspi.targets[{1, 4}].inquiry = MakeInquiry(0x05, "TAVREON 16X DVD-ROM     1.02");
    system_.aspi.targets[{1, 5}].inquiry = MakeInquiry(0x04, "Writer  CD-RW 8X        3.00");
  }
  void Start(ProgramId program) {
    transport_ = std::make_unique<drvcmd::AspiTransport>(program, system_, notice_);
    ASSERT_EQ(transport_->StartTransport(), drvcmd::kStartOk);
  }
  std::vector<int> ProbedTargets(int adapter) {
    std::vector<int> targets;
    for (const auto& srb : system_.aspi.requests) {
      if (srb.SRB_HaId == adapter) targets.push_back(srb.SRB_Target);
    }
    return targets;
  }

  testsupport::FakePlatform system_;
  testsupport::RecordingNotice notice_;
  std::unique_ptr<drvcmd::AspiTransport> transport_;
};

TEST_F(AspiScanTest, UpdaterTreeListsEveryTargetAndSelectsTheLastTavreon) {
  Start(ProgramId::kFlashAspi);
  drvcmd::DriveTree tree;
  drvcmd::ScanDrives(*transport_, tree);

  const std::vector<std::string> expected = {
      "00 : ATAPI Interface",
      "ID=0 : TAVREON DVD-ROM KD-420  1.10",
      "ID=1 : None",
      "01 : AIC78XX_SCSI_CON",
      "ID=0 : None",
      "ID=1 : None",
      "ID=2 : DISKCO  HARD DISK       2.00",
      "ID=3 : None",
      "ID=4 : TAVREON 16X DVD-ROM     1.02",
      "ID=5 : Writer  CD-RW 8X        3.00",
      "ID=6 : None",
  };
  EXPECT_EQ(Texts(tree), expected);
  EXPECT_EQ(tree.selected, 8);
  EXPECT_TRUE(tree.items[0].hasChildren);
  EXPECT_EQ(tree.items[2].parent, 0);
  EXPECT_EQ(tree.items[9].parent, 3);
  EXPECT_FALSE(tree.items[9].hasChildren);
  EXPECT_EQ(ProbedTargets(0), (std::vector<int>{0, 1}));
  EXPECT_EQ(ProbedTargets(1), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(AspiScanTest, SpeedUtilityListsOnlyCdDvdTargets) {
  Start(ProgramId::kPaceAspi);
  drvcmd::DriveCombo combo;
  drvcmd::ScanDrives(*transport_, combo);
  const std::vector<std::string> expected = {
      "ID=0 : TAVREON DVD-ROM KD-420   ESDI_506",
      "ID=4 : TAVREON 16X DVD-ROM      AIC78XX_SCSI_CON",
  };
  EXPECT_EQ(combo.labels, expected);
  ASSERT_EQ(combo.addresses.size(), 2u);
  EXPECT_EQ(combo.addresses[1].adapter, 1);
  EXPECT_EQ(combo.addresses[1].target, 4);
  EXPECT_EQ(combo.selected, 0);
  EXPECT_EQ(ProbedTargets(0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(AspiScanTest, NoAdapterGivesTheMessageAndTheSingleEntry) {
  system_.aspi.missing = true;
  transport_ = std::make_unique<drvcmd::AspiTransport>(ProgramId::kPaceAspi, system_, notice_);
  EXPECT_EQ(transport_->StartTransport(), drvcmd::kStartAspiLoadError);
  drvcmd::DriveCombo combo;
  drvcmd::ScanDrives(*transport_, combo);
  EXPECT_EQ(combo.labels, std::vector<std::string>{"No I/F adapter"});
  EXPECT_EQ(combo.selected, drvcmd::kNoItem);

  drvcmd::DriveTree tree;
  drvcmd::ScanDrives(*transport_, tree);
  EXPECT_EQ(Texts(tree), std::vector<std::string>{"No I/F adapter"});
  EXPECT_EQ(tree.selected, drvcmd::kNoItem);
  ASSERT_EQ(notice_.messages.size(), 2u);
  EXPECT_EQ(notice_.messages[0].text, "No ATAPI I/F found.");
  EXPECT_TRUE(system_.aspi.requests.empty());
}

TEST_F(AspiScanTest, AdaptersPastTheSixteenthAreNotListed) {
  system_.aspi.adapters.assign(18, "SCSI");
  system_.aspi.targets.clear();
  Start(ProgramId::kFlashAspi);
  std::vector<std::string> labels;
  EXPECT_EQ(drvcmd::LabelAdapters(*transport_, labels), 16);
  EXPECT_EQ(labels.back(), "0f : SCSI");
  drvcmd::DriveTree tree;
  drvcmd::ScanDrives(*transport_, tree);
  EXPECT_EQ(tree.items.size(), 16u * 8);
  EXPECT_EQ(ProbedTargets(16), std::vector<int>{});

  Start(ProgramId::kPaceAspi);
  system_.aspi.requests.clear();
  drvcmd::DriveCombo combo;
  drvcmd::ScanDrives(*transport_, combo);
  EXPECT_EQ(ProbedTargets(17), std::vector<int>{});
  EXPECT_EQ(system_.aspi.requests.size(), 16u * 7);
}

}  // namespace
