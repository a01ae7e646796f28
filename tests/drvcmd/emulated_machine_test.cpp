// The command layer against the emulated machine: the exact settings each
// program's generic commands go out with (from the machine's command log),
// the lists all five programs build, and faults as the programs see them.
#include "emulator/emulated_machine.h"

#include <gtest/gtest.h>

#include "drvcmd/drive_scan.h"
#include "drvcmd/generic_commands.h"
#include "tests/support/recording_notice.h"

namespace {

using drvcmd::ProgramId;
using emu::CommandPath;

constexpr char kMachine[] = R"({
  "adapters": [
    {"number": 0, "identifier": "ESDI_506"},
    {"number": 1, "identifier": "NORTHSTAR ULTRA2 WIDE SCSI HOST"}
  ],
  "devices": [
    {"letter": "C", "adapter": 0, "target": 0, "type": "0x00",
     "vendor": "MAXIDISK", "product": "HD-20400 ATA", "revision": "3.10"},
    {"letter": "D", "adapter": 0, "target": 1, "model": "KD-410", "disc": "dvd"},
    {"letter": "E", "adapter": 1, "target": 0, "type": "0x04",
     "vendor": "WRITEON", "product": "CD-RW DRIVE 4012", "revision": "1.0C"},
    {"letter": "F", "adapter": 1, "target": 1, "type": "0x00",
     "vendor": "MAXIDISK", "product": "HD-9100 SCSI", "revision": "0102"},
    {"adapter": 1, "target": 2, "answers": false, "type": "0x05",
     "vendor": "SILENT", "product": "NO ANSWER"},
    {"letter": "G", "adapter": 1, "target": 3, "model": "KD-16X",
     "faults": [%FAULTS%]}
  ]
})";

std::unique_ptr<emu::EmulatedMachine> LoadMachine(const std::string& faults = "") {
  std::string json = kMachine;
  json.replace(json.find("%FAULTS%"), 8, faults);
  std::string error;
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  auto machine = emu::EmulatedMachine::LoadText(json, "drvcmd-test.json", options, &error);
  EXPECT_NE(machine, nullptr) << error;
  return machine;
}

std::string Triple(const drvcmd::Transport& transport) {
  return drvcmd::FormatSenseTriple(drvcmd::SenseTripleFrom(transport.LastSense().data()));
}

class EmulatedMachineTest : public ::testing::Test {
 protected:
  void Load(const std::string& faults = "") {
    machine_ = LoadMachine(faults);
    ASSERT_NE(machine_, nullptr);
  }
  std::unique_ptr<drvcmd::SptiTransport> Spti(ProgramId program) {
    auto transport = std::make_unique<drvcmd::SptiTransport>(program, *machine_, notice_);
    EXPECT_EQ(transport->StartTransport(), drvcmd::kStartOk);
    return transport;
  }
  std::unique_ptr<drvcmd::AspiTransport> Aspi(ProgramId program) {
    auto transport = std::make_unique<drvcmd::AspiTransport>(program, *machine_, notice_);
    EXPECT_EQ(transport->StartTransport(), drvcmd::kStartOk);
    return transport;
  }
  const emu::LoggedCommand& Last() { return machine_->Log().Entries().back(); }

  std::unique_ptr<emu::EmulatedMachine> machine_;
  testsupport::RecordingNotice notice_;
};

// One generic command's expected transport settings.
struct Settings {
  CommandPath path;
  std::uint8_t cdbLength;
  std::uint8_t dataIn;  // pass-through only
  std::uint32_t transfer;
  std::uint32_t timeout;  // pass-through seconds
  std::uint8_t senseLength;
  std::uint32_t outSize;  // pass-through output length
  std::uint8_t srbFlags;  // ASPI only
  std::uint32_t wait;     // ASPI only
};

void ExpectSettings(const emu::LoggedCommand& entry, const std::vector<std::uint8_t>& cdb,
                    const Settings& expected) {
  EXPECT_EQ(entry.path, expected.path);
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(entry.cdb[i], i < cdb.size() ? cdb[i] : 0) << "command byte " << i;
  }
  EXPECT_EQ(entry.cdbLength, expected.cdbLength);
  EXPECT_EQ(entry.transferLength, expected.transfer);
  EXPECT_EQ(entry.lun, 0);
  if (expected.path == CommandPath::kAspi) {
    EXPECT_EQ(entry.srbFlags, expected.srbFlags);
    EXPECT_EQ(entry.srbSenseLen, 0);
    EXPECT_TRUE(entry.waited);
    EXPECT_EQ(entry.waitMilliseconds, expected.wait);
    return;
  }
  const bool buffered = expected.path == CommandPath::kPassThroughBuffered;
  EXPECT_EQ(entry.length,
            buffered ? sizeof(platform::ScsiPassThrough) : sizeof(platform::ScsiPassThroughDirect));
  EXPECT_EQ(entry.senseInfoOffset,
            buffered ? offsetof(platform::ScsiPassThroughWithBuffers, SenseBuf)
                     : offsetof(platform::ScsiPassThroughDirectWithSense, SenseBuf));
  if (buffered) {
    EXPECT_EQ(entry.dataBufferOffset, offsetof(platform::ScsiPassThroughWithBuffers, DataBuf));
  }
  EXPECT_EQ(entry.ioControlCode,
            buffered ? platform::kIoctlScsiPassThrough : platform::kIoctlScsiPassThroughDirect);
  EXPECT_EQ(entry.dataIn, expected.dataIn);
  EXPECT_EQ(entry.timeOutValue, expected.timeout);
  EXPECT_EQ(entry.senseInfoLength, expected.senseLength);
  EXPECT_EQ(entry.outBufferSize, expected.outSize);
  EXPECT_EQ(entry.inBufferSize, buffered ? sizeof(platform::ScsiPassThroughWithBuffers)
                                         : sizeof(platform::ScsiPassThroughDirectWithSense));
}

const std::vector<std::uint8_t> kInquiryCdb = {0x12, 0, 0, 0, 0x60, 0};
const std::vector<std::uint8_t> kReadyCdb = {0};
constexpr auto kDirectSize = sizeof(platform::ScsiPassThroughDirectWithSense);
constexpr auto kDataAreaOffset = offsetof(platform::ScsiPassThroughWithBuffers, DataBuf);

TEST_F(EmulatedMachineTest, PassThroughGenericCommandsCarryEachProgramsSettings) {
  Load();
  auto updater = Spti(ProgramId::kFlashSpti);
  ASSERT_EQ(updater->OpenDrive('D'), 0);
  EXPECT_EQ(drvcmd::SendInquiry(*updater, {}), drvcmd::kOutcomeGood);
  ExpectSettings(Last(), kInquiryCdb,
                 {CommandPath::kPassThroughBuffered, 12, 1, 96, 2, 0, kDataAreaOffset + 96, 0, 0});
  EXPECT_EQ(std::string(reinterpret_cast<char*>(updater->DataBuffer().data()) + 8, 24),
            "TAVREON DVD-ROM KD-410  ");
  EXPECT_EQ(drvcmd::SendRequestSense(*updater, {}), drvcmd::kOutcomeGood);
  ExpectSettings(Last(), {0x03, 0, 0, 0, 0x18, 0},
                 {CommandPath::kPassThroughBuffered, 12, 1, 24, 2, 0, kDataAreaOffset + 24, 0, 0});

  for (ProgramId program : {ProgramId::kZoneSpti, ProgramId::kPaceSpti}) {
    auto utility = Spti(program);
    ASSERT_EQ(utility->OpenDrive('D'), 0);
    EXPECT_EQ(drvcmd::SendInquiry(*utility, {}), drvcmd::kOutcomeGood);
    ExpectSettings(Last(), kInquiryCdb,
                   {CommandPath::kPassThroughDirect, 12, 1, 96, 2, 18, kDirectSize, 0, 0});
    EXPECT_EQ(drvcmd::SendTestUnitReady(*utility, {}), drvcmd::kOutcomeGood);
    ExpectSettings(Last(), kReadyCdb,
                   {CommandPath::kPassThroughDirect, 12, 1, 0, 2, 18, kDirectSize, 0, 0});
    EXPECT_EQ(Last().letter, 'D');
  }
}

TEST_F(EmulatedMachineTest, AspiGenericCommandsCarryEachProgramsSettings) {
  Load();
  auto updater = Aspi(ProgramId::kFlashAspi);
  EXPECT_EQ(drvcmd::SendInquiry(*updater, {0, 1, 3}), drvcmd::kOutcomeGood);
  ExpectSettings(Last(), kInquiryCdb, {CommandPath::kAspi, 6, 0, 96, 0, 0, 0, 0x48, 0xFFFFFFFF});
  EXPECT_EQ(Last().adapter, 1);
  EXPECT_EQ(Last().target, 3);
  EXPECT_EQ(drvcmd::SendRequestSense(*updater, {0, 1, 3}), drvcmd::kOutcomeGood);
  ExpectSettings(Last(), {0x03, 0, 0, 0, 0x12, 0},
                 {CommandPath::kAspi, 6, 0, 18, 0, 0, 0, 0x48, 0xFFFFFFFF});

  auto speed = Aspi(ProgramId::kPaceAspi);
  EXPECT_EQ(drvcmd::SendInquiry(*speed, {0, 0, 1}), drvcmd::kOutcomeGood);
  ExpectSettings(Last(), kInquiryCdb, {CommandPath::kAspi, 6, 0, 96, 0, 0, 0, 0x48, 0xFFFFFFFF});
  EXPECT_EQ(drvcmd::SendTestUnitReady(*speed, {0, 0, 1}), drvcmd::kOutcomeGood);
  ExpectSettings(Last(), kReadyCdb, {CommandPath::kAspi, 6, 0, 0, 0, 0, 0, 0x40, 1000});
  EXPECT_EQ(Last().adapter, 0);
  EXPECT_EQ(Last().target, 1);
}

// A request none of the generic commands makes: every field reaches the drive
// as given (pass-through: padded to 12 bytes), and each program classifies the
// check condition it gets back in its own way.
TEST_F(EmulatedMachineTest, ExecuteRequestCarriesAnyRequestOnBothBackEnds) {
  Load();
  std::array<std::uint8_t, 8> parameters{0x00, 0x06, 0, 0, 0, 0, 0xA5, 0x5A};
  const auto request = [&] {
    drvcmd::ScsiRequest r;
    r.cdb = {0x55, 0x10, 0, 0, 0, 0, 0, 0x00, 0x08, 0};
    r.cdbLength = 10;
    r.direction = drvcmd::DataDirection::kOut;
    r.buffer = parameters.data();
    r.transferLength = parameters.size();
    r.timeoutSeconds = 7;
    r.senseLength = 24;
    return r;
  };
  const std::vector<std::uint8_t> sent(parameters.begin(), parameters.end());
  const std::vector<std::uint8_t> cdb = {0x55, 0x10, 0, 0, 0, 0, 0, 0x00, 0x08, 0};

  auto zone = Spti(ProgramId::kZoneSpti);
  ASSERT_EQ(zone->OpenDrive('G'), 0);
  drvcmd::ScsiRequest passThrough = request();
  EXPECT_EQ(zone->ExecuteRequest(passThrough), drvcmd::kOutcomeCheckCondition);
  ExpectSettings(Last(), cdb,
                 {CommandPath::kPassThroughDirect, 12, 0, 8, 7, 24, kDirectSize, 0, 0});
  EXPECT_EQ(Last().target, 3);
  EXPECT_EQ(Last().dataOut, sent);
  EXPECT_EQ(passThrough.scsiStatus, 2);
  EXPECT_EQ(Triple(*zone), "05-20-00");

  auto updater = Aspi(ProgramId::kFlashAspi);
  drvcmd::ScsiRequest aspi = request();
  aspi.address = {0, 1, 3};
  aspi.senseLength = 0;
  EXPECT_EQ(updater->ExecuteRequest(aspi), drvcmd::kOutcomeFailure);
  ExpectSettings(Last(), cdb, {CommandPath::kAspi, 10, 0, 8, 0, 0, 0, 0x50, 0xFFFFFFFF});
  EXPECT_EQ(Last().adapter, 1);
  EXPECT_EQ(Last().target, 3);
  EXPECT_EQ(Last().dataOut, sent);

  auto speed = Aspi(ProgramId::kPaceAspi);
  EXPECT_EQ(speed->ExecuteRequest(aspi), drvcmd::kOutcomeFailure);
  EXPECT_EQ(Triple(*speed), "05-20-00");
  EXPECT_TRUE(notice_.messages.empty());
}

TEST_F(EmulatedMachineTest, AllFiveListsAsTheProgramsBuildThem) {
  Load();
  const std::vector<std::string> letters = {
      "D: TAVREON DVD-ROM KD-410   (C/DVD-ROM)",
      "E: WRITEON CD-RW DRIVE 4012 (CD-R/RW or WORM)",
      "G: TAVREON 16X DVD-ROM      (C/DVD-ROM)",
  };
  drvcmd::NoProgressWindow progress;

  drvcmd::DriveTree tree;
  drvcmd::ScanDrives(*Spti(ProgramId::kFlashSpti), tree, progress);
  std::vector<std::string> texts;
  for (const auto& item : tree.items) texts.push_back(item.text);
  EXPECT_EQ(texts, letters);
  EXPECT_EQ(tree.selected, drvcmd::kNoItem);
  for (ProgramId program : {ProgramId::kZoneSpti, ProgramId::kPaceSpti}) {
    drvcmd::DriveCombo combo;
    drvcmd::ScanDrives(*Spti(program), combo);
    EXPECT_EQ(combo.labels, letters);
    EXPECT_EQ(combo.selected, 0);
  }

  drvcmd::ScanDrives(*Aspi(ProgramId::kFlashAspi), tree);
  texts.clear();
  for (const auto& item : tree.items) texts.push_back(item.text);
  const std::vector<std::string> adapters = {
      "00 : ATAPI Interface",
      "ID=0 : MAXIDISKHD-20400 ATA    3.10",
      "ID=1 : TAVREON DVD-ROM KD-410  1.00",
      "01 : NORTHSTAR ULTRA2",
      "ID=0 : WRITEON CD-RW DRIVE 40121.0C",
      "ID=1 : MAXIDISKHD-9100 SCSI    0102",
      "ID=2 : None",
      "ID=3 : TAVREON 16X DVD-ROM     1.20",
      "ID=4 : None",
      "ID=5 : None",
      "ID=6 : None",
  };
  EXPECT_EQ(texts, adapters);
  EXPECT_EQ(tree.selected, 7);  // the later of the two TAVREON drives

  drvcmd::DriveCombo speed;
  drvcmd::ScanDrives(*Aspi(ProgramId::kPaceAspi), speed);
  EXPECT_EQ(speed.labels, (std::vector<std::string>{
                              "ID=1 : TAVREON DVD-ROM KD-410   ESDI_506",
                              "ID=3 : TAVREON 16X DVD-ROM      NORTHSTAR ULTRA2",
                          }));
  EXPECT_EQ(speed.selected, 0);
  EXPECT_TRUE(notice_.messages.empty());
}

TEST_F(EmulatedMachineTest, ReadyTestThatRunsOutFailsAndTheNextCommandWorks) {
  Load(R"({"opcode": "0x00", "delayMs": 5000, "times": 1})");
  auto speed = Aspi(ProgramId::kPaceAspi);
  EXPECT_EQ(drvcmd::SendTestUnitReady(*speed, {0, 1, 3}), drvcmd::kOutcomeFailure);
  EXPECT_EQ(Last().waitMilliseconds, 1000u);
  EXPECT_EQ(drvcmd::SendInquiry(*speed, {0, 1, 3}), drvcmd::kOutcomeGood);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(speed->DataBuffer().data()) + 8, 19),
            "TAVREON 16X DVD-ROM");
}

TEST_F(EmulatedMachineTest, CheckConditionsReachTheProgramsWithTheirSense) {
  Load(R"({"opcode": "0x00", "sense": "25-24-00", "times": "always"})");
  auto pace = Spti(ProgramId::kPaceSpti);
  ASSERT_EQ(pace->OpenDrive('G'), 0);
  EXPECT_EQ(drvcmd::SendTestUnitReady(*pace, {}), drvcmd::kOutcomeCheckCondition);
  EXPECT_EQ(Triple(*pace), "25-24-00");

  auto speed = Aspi(ProgramId::kPaceAspi);
  EXPECT_EQ(drvcmd::SendTestUnitReady(*speed, {0, 1, 3}), drvcmd::kOutcomeFailure);
  EXPECT_EQ(Triple(*speed), "25-24-00");
  EXPECT_EQ(Last().cdb[0], drvcmd::kOpRequestSense);

  auto updater = Aspi(ProgramId::kFlashAspi);
  EXPECT_EQ(drvcmd::SendTestUnitReady(*updater, {0, 1, 3}), drvcmd::kOutcomeFailure);
  drvcmd::ReportSense(*updater, {0, 1, 3});
  ASSERT_EQ(notice_.messages.size(), 1u);
  EXPECT_EQ(notice_.messages[0].text, "Sense Code : 25-24-00");
}

TEST_F(EmulatedMachineTest, FailedCallsAreFailuresInEveryPassThroughProgram) {
  Load(R"({"opcode": "0x12", "transportFailure": true, "times": "always"})");
  auto zone = Spti(ProgramId::kZoneSpti);
  ASSERT_EQ(zone->OpenDrive('G'), 0);
  EXPECT_EQ(drvcmd::SendInquiry(*zone, {}), drvcmd::kOutcomeCheckCondition);
  EXPECT_EQ(Triple(*zone), "00-00-00");
  EXPECT_TRUE(notice_.messages.empty());

  auto updater = Spti(ProgramId::kFlashSpti);
  ASSERT_EQ(updater->OpenDrive('G'), 0);
  EXPECT_EQ(drvcmd::SendInquiry(*updater, {}), drvcmd::kOutcomeFailure);
  ASSERT_EQ(notice_.messages.size(), 1u);
  EXPECT_NE(notice_.messages[0].text.find("\r\n"), std::string::npos);  // the system's text
}

}  // namespace
