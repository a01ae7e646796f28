// The demo machine file loads and puts the expected devices on their letters
// and adapters.
#include <gtest/gtest.h>

#include <string>

#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"

namespace emu {
namespace {

std::string Identity(const EmulatedDrive& drive) {
  const auto& inquiry = drive.InquiryData();
  return std::string(inquiry.begin() + 8, inquiry.begin() + 32);
}

class DemoMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    MachineOptions options;
    options.fakeClock = true;
    options.readOnly = true;
    std::string error;
    machine_ = EmulatedMachine::LoadFile(DVDUTIL_SOURCE_DIR "/emulator/machines/demo.json", options,
                                         &error);
    ASSERT_NE(machine_, nullptr) << error;
  }
  std::unique_ptr<EmulatedMachine> machine_;
};

TEST_F(DemoMachine, LettersCarryTheAdvertisedDevices) {
  struct Expected {
    char letter;
    std::uint8_t type;
    const char* identity;
  };
  const Expected expected[] = {
      {'C', 0x00, "MAXIDISKHD-20400 ATA    "}, {'D', 0x05, "TAVREON DVD-ROM KD-410  "},
      {'E', 0x05, "TAVREON DVD-ROM KD-320  "}, {'F', 0x05, "TAVREON DVD-ROM KD-310  "},
      {'G', 0x05, "Orbec   DVD-ROM KD-420  "}, {'H', 0x05, "Lumax   KD-4200 PRO     "},
      {'I', 0x05, "TAVREON DVD-ROM KD-600  "}, {'J', 0x04, "WRITEON CD-RW DRIVE 4012"},
      {'K', 0x00, "MAXIDISKHD-9100 SCSI    "}, {'L', 0x05, "TAVREON 16X DVD-ROM     "},
  };
  for (const Expected& e : expected) {
    const EmulatedDrive* drive = machine_->DriveAtLetter(e.letter);
    ASSERT_NE(drive, nullptr) << e.letter;
    EXPECT_EQ(drive->PeripheralType(), e.type) << e.letter;
    EXPECT_EQ(Identity(*drive), e.identity) << e.letter;
  }
  EXPECT_EQ(machine_->DriveAtLetter('M'), nullptr);
}

TEST_F(DemoMachine, G5DrivesRunTheImageOfTheirOwnController) {
  const auto controller = [](const EmulatedDrive* drive) {
    return std::string(drive->Memory().begin() + 0x1010, drive->Memory().begin() + 0x1020);
  };
  EXPECT_EQ(controller(machine_->DriveAtLetter('E')), "HITACHI H8_3062R");
  EXPECT_EQ(controller(machine_->DriveAtLetter('F')), "HITACHI H8_3062A");
  EXPECT_EQ(machine_->DriveAt(1, 0), machine_->DriveAtLetter('E'));
}

}  // namespace
}  // namespace emu

namespace emu {
namespace {

TEST_F(DemoMachine, RegionDrivesInTheirThreeStates) {
  const EmulatedDrive* initial = machine_->DriveAtLetter('E');
  EXPECT_EQ(initial->Region().mask, 0xFF);
  EXPECT_EQ(initial->Region().userChanges, 5);
  EXPECT_EQ(initial->Disc(), DiscKind::kNone);
  const EmulatedDrive* region2 = machine_->DriveAtLetter('Y');
  EXPECT_EQ(region2->Region().mask, 0xFD);
  EXPECT_GT(region2->Region().userChanges, 0);
  EXPECT_EQ(region2->Disc(), DiscKind::kDvd);
  EXPECT_EQ(region2->DiscRegion().regionMask, 0xFD);
  EXPECT_EQ(region2->DiscRegion().protection, 0x01);
  const EmulatedDrive* permanent = machine_->DriveAtLetter('Z');
  EXPECT_EQ(permanent->Region().typeCode, kRegionTypePermanent);
  EXPECT_EQ(permanent->Region().userChanges, 0);
}

}  // namespace
}  // namespace emu
