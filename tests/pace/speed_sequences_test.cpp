// The speed operations of both builds on the emulated machine: what goes on
// the wire (CDB bytes and transport fields), the boxes, the status text, and
// what the drive does with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/big_endian.h"
#include "pace/speed_control.h"
#include "tests/pace/speed_test_rig.h"
#include "tests/support/host_calls.h"

namespace {

using pace::DriveMode;
using pace::PaceVariant;
using pacetest::kCdDrive;
using pacetest::kDvdDrive;
using pacetest::kEmptyDrive;
using pacetest::kSilentDrive;
using pacetest::TestDrive;
using Strings = std::vector<std::string>;

constexpr char kNoSelection[] = "Valid Item is not selected.";

class SpeedRunTest : public ::testing::TestWithParam<const PaceVariant*> {
 protected:
  void SetUp() override { Boot(pacetest::MachineJson()); }

  void Boot(const std::string& json, const std::string& stateFile = {}) {
    control.reset();
    emu::MachineOptions options;
    options.fakeClock = true;
    options.readOnly = stateFile.empty();
    options.stateFile = stateFile;
    std::string error;
    machine = emu::EmulatedMachine::LoadText(json, "speed-test.json", options, &error);
    ASSERT_NE(machine, nullptr) << error;
    control = std::make_unique<pace::SpeedControl>(Variant(), *machine, ui);
    ASSERT_EQ(control->Start(), drvcmd::kStartOk);
    drvcmd::DriveCombo combo;
    control->ScanDrives(combo);
    ASSERT_EQ(combo.labels.size(), 4u);
    machine->Log().Clear();
    ui.Clear();
  }

  const PaceVariant& Variant() const { return *GetParam(); }
  bool Aspi() const { return drvcmd::UsesAspi(Variant().program); }

  void Select(const TestDrive& drive) {
    ui.drive = drive.index;
    machine->Log().Clear();
    ui.Clear();
  }

  Strings Cdbs() const {
    Strings out;
    for (const auto& entry : machine->Log().Entries()) out.push_back(pacetest::CdbText(entry));
    return out;
  }
  Strings Opcodes() const { return pacetest::Opcodes(machine->Log()); }
  const emu::LoggedCommand& Logged(std::size_t index) const {
    return machine->Log().Entries().at(index);
  }
  emu::EmulatedDrive& Drive(const TestDrive& drive) {
    return *machine->DriveAtLetter(drive.letter);
  }

  // A failed command is followed by the REQUEST SENSE that fetches its sense on ASPI.
  Strings AfterFailure(Strings opcodes) const {
    if (Aspi()) opcodes.push_back("03");
    return opcodes;
  }
  // A 12-byte SET CD SPEED as it reaches the drive.
  static std::string SetCdSpeedCdb(const char* modeAndSpeeds) {
    return std::string("BB ") + modeAndSpeeds + " 00 00 00 00 00 00";
  }

  // The transport fields of a command without data.
  void ExpectNoDataFields(const emu::LoggedCommand& command, std::uint8_t aspiCdbLength,
                          std::uint32_t passThroughTimeout) const {
    EXPECT_EQ(command.transferLength, 0u);
    if (Aspi()) {
      EXPECT_EQ(command.path, emu::CommandPath::kAspi);
      EXPECT_EQ(command.cdbLength, aspiCdbLength);
      EXPECT_EQ(command.srbFlags, 0x40);  // SRB_EVENT_NOTIFY, no direction bit
      EXPECT_EQ(command.srbSenseLen, 0);
      EXPECT_TRUE(command.waited);
      EXPECT_EQ(command.waitMilliseconds, 0xFFFFFFFFu);
    } else {
      EXPECT_EQ(command.path, emu::CommandPath::kPassThroughDirect);
      EXPECT_EQ(command.cdbLength, 12);
      EXPECT_EQ(command.dataIn, 1);
      EXPECT_EQ(command.timeOutValue, passThroughTimeout);
      EXPECT_EQ(command.senseInfoLength, 18);
    }
  }

  std::unique_ptr<emu::EmulatedMachine> machine;
  testsupport::FakeSpeedUi ui;
  std::unique_ptr<pace::SpeedControl> control;
};

TEST_P(SpeedRunTest, EachModeButtonSendsItsSetCdSpeedWithoutDiscOrQuestion) {
  struct Case {
    DriveMode mode;
    const char* fields;
    std::string success;
  };
  const Case cases[] = {
      {DriveMode::kQuietTemporary, "01 00 00 00 00",
       "Drive mode is changed to quiet mode (temporary)"},
      {DriveMode::kQuietPermanent, "03 00 00 00 00",
       "Drive mode is changed to quiet mode (permanent)"},
      {DriveMode::kPerformanceTemporary, "01 FF FF 00 00",
       "Drive mode is changed to performance mode (temporary)"},
      {DriveMode::kPerformancePermanent, "03 FF FF 00 00",
       Aspi() ? "Drive mode is changed to performance mode (permanent)"
              : "Drive mode is changed to performance mode. (permanent)"},
  };
  for (const Case& c : cases) {
    Select(kEmptyDrive);
    EXPECT_EQ(control->ChangeDriveMode(c.mode), 0);
    // TEST UNIT READY finds no disc: no question, SET CD SPEED at once.
    EXPECT_EQ(Cdbs().back(), SetCdSpeedCdb(c.fields)) << c.success;
    Strings expected = AfterFailure({"00"});
    expected.push_back("BB");
    EXPECT_EQ(Opcodes(), expected);
    ExpectNoDataFields(machine->Log().Entries().back(), 12, 2);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ui.box, c.success);
    EXPECT_EQ(ui.events, (Strings{"set " + c.success, "refresh"}));
  }
  EXPECT_EQ(Drive(kEmptyDrive).Speed().permanentMode, emu::SpeedMode::kPerformance);
}

TEST_P(SpeedRunTest, TestUnitReadyKeepsEachBuildsSettings) {
  Select(kEmptyDrive);
  control->ChangeDriveMode(DriveMode::kQuietTemporary);
  const emu::LoggedCommand& ready = Logged(0);
  EXPECT_EQ(pacetest::CdbText(ready).substr(0, 17), "00 00 00 00 00 00");
  if (Aspi()) {
    EXPECT_EQ(ready.cdbLength, 6);
    EXPECT_EQ(ready.srbFlags, 0x40);
    EXPECT_EQ(ready.waitMilliseconds, 1000u);
  } else {
    EXPECT_EQ(ready.timeOutValue, 2u);
    EXPECT_EQ(ready.senseInfoLength, 18);
  }
}

TEST_P(SpeedRunTest, SpindleQuestionOkStopsTheDiscThenChangesTheMode) {
  Select(kDvdDrive);
  EXPECT_EQ(control->ChangeDriveMode(DriveMode::kQuietPermanent), 0);
  const std::string stop = Aspi() ? "1B 00 00 00 00 00" : "1B 00 00 00 00 00 00 00 00 00 00 00";
  ASSERT_EQ(Cdbs().size(), 3u);
  EXPECT_EQ(Cdbs()[1], stop);
  EXPECT_EQ(Cdbs()[2], SetCdSpeedCdb("03 00 00 00 00"));
  ExpectNoDataFields(Logged(1), 6, 15);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "For safety, the spindle is stoped.");
  EXPECT_EQ(ui.Messages()[0].caption, "Attention");
  EXPECT_EQ(ui.Messages()[0].style, drvcmd::kMbOkCancel);
  EXPECT_EQ(ui.box, "Drive mode is changed to quiet mode (permanent)");
  EXPECT_EQ(Drive(kDvdDrive).Speed().permanentMode, emu::SpeedMode::kQuiet);
  EXPECT_TRUE(Drive(kDvdDrive).Speed().spindleStopped);
}

TEST_P(SpeedRunTest, SpindleQuestionCancelSkipsOnlyTheStop) {
  Select(kDvdDrive);
  ui.notice.answers = {drvcmd::kIdCancel};
  EXPECT_EQ(control->ChangeDriveMode(DriveMode::kQuietTemporary), 0);
  EXPECT_EQ(Opcodes(), (Strings{"00", "BB"}));
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(ui.Messages()[1].text, "Operation is canceled.");
  EXPECT_EQ(ui.Messages()[1].caption, "Cancel");
  EXPECT_EQ(ui.Messages()[1].style, drvcmd::kMbOk);
  EXPECT_EQ(ui.box, "Drive mode is changed to quiet mode (temporary)");
  EXPECT_EQ(Drive(kDvdDrive).Speed().currentMode, emu::SpeedMode::kQuiet);
  EXPECT_FALSE(Drive(kDvdDrive).Speed().spindleStopped);
}

TEST_P(SpeedRunTest, FailedStopEndsTheOperationWithTheModesFailureText) {
  Boot(pacetest::MachineJson(R"(, "faults": [{"opcode": "0x1B", "sense": "02-04-00"}])"));
  Select(kDvdDrive);
  EXPECT_EQ(control->ChangeDriveMode(DriveMode::kQuietPermanent), -1);
  EXPECT_EQ(Opcodes(), AfterFailure({"00", "1B"}));  // no SET CD SPEED
  const std::string text = Aspi() ? "Failed to change to quiet mode. (02-04-00)"
                                  : "Failed to change to quiet mode (permanent). (02-04-00)";
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(ui.Messages()[1].text, text);
  EXPECT_EQ(ui.Messages()[1].caption, "Error");
  EXPECT_EQ(ui.box, text);
  EXPECT_EQ(Drive(kDvdDrive).Speed().permanentMode, emu::SpeedMode::kPerformance);
}

TEST_P(SpeedRunTest, EveryFailureTextCarriesTheDrivesSenseTriple) {
  // Sense byte 2 is printed whole: key 5 with the ILI bit is "25".
  const std::string faults =
      R"(, "faults": [{"opcode": "0xBB", "sense": "25-26-01", "times": "always"},
                                            {"opcode": "0x1A", "sense": "06-28-00", "times": "always"},
                                            {"opcode": "0x5A", "sense": "06-28-00", "times": "always"}])";
  Boot(pacetest::MachineJson({}, faults));
  struct Case {
    std::function<int()> run;
    std::string text;
    const char* failedOpcode;
  };
  const Case cases[] = {
      {[&] { return control->ChangeDriveMode(DriveMode::kQuietTemporary); },
       "Failed to change to quiet mode. (25-26-01)", "BB"},
      {[&] { return control->ChangeDriveMode(DriveMode::kQuietPermanent); },
       Aspi() ? "Failed to change to quiet mode. (25-26-01)"
              : "Failed to change to quiet mode (permanent). (25-26-01)",
       "BB"},
      {[&] { return control->ChangeDriveMode(DriveMode::kPerformanceTemporary); },
       "Failed to change to performance mode. (25-26-01)", "BB"},
      {[&] { return control->ChangeDriveMode(DriveMode::kPerformancePermanent); },
       "Failed to change to performance mode. (25-26-01)", "BB"},
      {[&] { return control->SetExtractionSpeed(); },
       "Failed to change the CD-DA extraction speed. (25-26-01)", "BB"},
      {[&] { return control->ShowDriveSpeeds(); },
       "Failed to get mechanism status & capabilities page. (06-28-00)", Aspi() ? "5A" : "1A"},
  };
  for (const Case& c : cases) {
    Select(kEmptyDrive);
    ui.extraction = 0;
    EXPECT_EQ(c.run(), -1) << c.text;
    ASSERT_EQ(ui.Messages().size(), 1u) << c.text;
    EXPECT_EQ(ui.Messages()[0].text, c.text);
    EXPECT_EQ(ui.Messages()[0].caption, "Error");
    EXPECT_EQ(ui.Messages()[0].style, drvcmd::kMbOk);
    EXPECT_EQ(ui.box, c.text);
    // Nothing follows the failed command but its REQUEST SENSE on ASPI.
    const Strings sent = Opcodes();
    const Strings tail(sent.end() - (Aspi() ? 2 : 1), sent.end());
    EXPECT_EQ(tail, AfterFailure({c.failedOpcode})) << c.text;
  }
}

TEST_P(SpeedRunTest, HostFailureWithoutSenseIsAFailureWithZeroTriple) {
  Boot(pacetest::MachineJson(
      {}, R"(, "faults": [{"opcode": "0xBB", "transportFailure": true, "times": "always"}])"));
  Select(kEmptyDrive);
  EXPECT_EQ(control->ChangeDriveMode(DriveMode::kPerformanceTemporary), -1);
  EXPECT_EQ(ui.box, "Failed to change to performance mode. (00-00-00)");
  // The drive never saw SET CD SPEED, so the ASPI build's REQUEST SENSE finds nothing.
  EXPECT_EQ(Opcodes(), Aspi() ? Strings({"00", "03", "BB", "03"}) : Strings({"00", "BB"}));
}

TEST_P(SpeedRunTest, DriveInformationReadsThePageWithEachBuildsModeSense) {
  Select(kCdDrive);
  EXPECT_EQ(control->ShowDriveSpeeds(), 0);
  EXPECT_EQ(ui.box, "Current Speed = 2816kbytes/s(16X)\r\nMaximum Speed = 5540kbytes/s(31X)");
  EXPECT_TRUE(ui.Messages().empty());
  ASSERT_EQ(machine->Log().Entries().size(), 1u);  // no TEST UNIT READY, no stop
  const emu::LoggedCommand& sense = Logged(0);
  if (Aspi()) {
    EXPECT_EQ(pacetest::CdbText(sense), "5A 08 2A 00 00 00 00 00 22 00");
    EXPECT_EQ(sense.srbFlags, 0x48);  // SRB_DIR_IN | SRB_EVENT_NOTIFY
    EXPECT_EQ(sense.transferLength, 34u);
    EXPECT_EQ(sense.waitMilliseconds, 0xFFFFFFFFu);
  } else {
    EXPECT_EQ(pacetest::CdbText(sense), "1A 08 2A 00 1A 00 00 00 00 00 00 00");
    EXPECT_EQ(sense.dataIn, 1);
    EXPECT_EQ(sense.transferLength, 26u);
    EXPECT_EQ(sense.senseInfoLength, 24);
    EXPECT_EQ(sense.timeOutValue, 10u);
  }
}

TEST_P(SpeedRunTest, DriveInformationFollowsModeAndDisc) {
  pace::ReadSpeeds speeds;
  Select(kDvdDrive);
  control->ShowDriveSpeeds(&speeds);
  EXPECT_EQ(ui.box, "Current Speed = 5540kbytes/s(31X)\r\nMaximum Speed = 7040kbytes/s(40X)");
  ui.notice.answers = {drvcmd::kIdCancel};
  control->ChangeDriveMode(DriveMode::kQuietTemporary);
  control->ShowDriveSpeeds(&speeds);
  // 2770 kbytes/s is 15X: the division drops the remainder.
  EXPECT_EQ(ui.box, "Current Speed = 2770kbytes/s(15X)\r\nMaximum Speed = 7040kbytes/s(40X)");
  EXPECT_EQ(speeds.current, 2770);
  EXPECT_EQ(speeds.maximum, 7040);
}

TEST_P(SpeedRunTest, ZeroSpeedsGiveTheNotSupportedText) {
  Select(kSilentDrive);
  EXPECT_EQ(control->ShowDriveSpeeds(), 0);
  EXPECT_EQ(ui.box, "Commnad success but paramater is not supported.");
  EXPECT_TRUE(ui.Messages().empty());

  // Either speed 0 is enough; a speed below 1X is still a speed.
  struct Case {
    const char* speeds;  // of the DVD drive, which reads at its DVD performance speed
    const char* text;
  };
  const Case cases[] = {
      {R"({"dvdPerformance": 0})", "Commnad success but paramater is not supported."},
      {R"({"maximum": 0})", "Commnad success but paramater is not supported."},
      {R"({"dvdPerformance": 1, "maximum": 175})",
       "Current Speed = 1kbytes/s(0X)\r\nMaximum Speed = 175kbytes/s(0X)"},
  };
  for (const Case& c : cases) {
    Boot(pacetest::MachineJson(std::string(R"(, "speeds": )") + c.speeds));
    Select(kDvdDrive);
    EXPECT_EQ(control->ShowDriveSpeeds(), 0) << c.speeds;
    EXPECT_EQ(ui.box, c.text) << c.speeds;
  }
}

TEST_P(SpeedRunTest, ExtractionEntriesSendTheirSpeedAndReportIt) {
  struct Case {
    int entry;
    const char* speedBytes;
    std::string text;
  };
  const Case cases[] = {
      {4, "00 08 40 00 00",
       Aspi() ? "CD-DA extraction speed is changed to 2112kbytes/s(12X)."
              : "CD-DA extraction speed is changed successfully\r\n2112kbytes/s(12X)."},
      {1, "00 02 C0 00 00",
       Aspi() ? "CD-DA extraction speed is changed to 704kbytes/s(4X)."
              : "CD-DA extraction speed is changed successfully\r\n704kbytes/s(4X)."},
      {2, "00 05 80 00 00",
       Aspi() ? "CD-DA extraction speed is changed to 1408kbytes/s(8X)."
              : "CD-DA extraction speed is changed successfully\r\n1408kbytes/s(8X)."},
      {3, "00 06 E0 00 00",
       Aspi() ? "CD-DA extraction speed is changed to 1760kbytes/s(10X)."
              : "CD-DA extraction speed is changed successfully\r\n1760kbytes/s(10X)."},
      {5, "00 0B 00 00 00",
       Aspi() ? "CD-DA extraction speed is changed to 2816kbytes/s(16X)."
              : "CD-DA extraction speed is changed successfully\r\n2816kbytes/s(16X)."},
      {0, "00 FF FF 00 00",
       Aspi() ? "CD-DA extraction speed is changed to maximum speed."
              : "CD-DA extraction speed is changed \r\nto maximum speed successfully."},
      // An index past the table's end sends FFFFh too.
      {6, "00 FF FF 00 00",
       Aspi() ? "CD-DA extraction speed is changed to maximum speed."
              : "CD-DA extraction speed is changed \r\nto maximum speed successfully."},
  };
  for (const Case& c : cases) {
    Select(kCdDrive);
    ui.extraction = c.entry;
    EXPECT_EQ(control->SetExtractionSpeed(), 0);
    EXPECT_EQ(Cdbs(), (Strings{SetCdSpeedCdb(c.speedBytes)}));  // no TEST UNIT READY
    ExpectNoDataFields(Logged(0), 12, 2);
    EXPECT_EQ(ui.box, c.text);
  }
  // The drive caps its CD speed at the extraction speed.
  ui.extraction = 4;
  control->SetExtractionSpeed();
  pace::ReadSpeeds speeds;
  control->ShowDriveSpeeds(&speeds);
  EXPECT_EQ(speeds.current, 2112);
}

TEST_P(SpeedRunTest, NoExtractionEntrySendsNothing) {
  Select(kCdDrive);
  ui.extraction.reset();
  EXPECT_EQ(control->SetExtractionSpeed(), -1);
  EXPECT_EQ(ui.box, "Don't select the available drive.");
  EXPECT_TRUE(machine->Log().Entries().empty());
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_P(SpeedRunTest, NoSelectedDriveSendsNothing) {
  const std::vector<std::function<int()>> buttons = {
      [&] { return control->ChangeDriveMode(DriveMode::kQuietTemporary); },
      [&] { return control->ChangeDriveMode(DriveMode::kQuietPermanent); },
      [&] { return control->ChangeDriveMode(DriveMode::kPerformanceTemporary); },
      [&] { return control->SetExtractionSpeed(); },
      [&] { return control->ShowDriveSpeeds(); },
  };
  for (const auto& press : buttons) {
    Select(kCdDrive);
    ui.drive.reset();
    EXPECT_EQ(press(), -1);
    EXPECT_EQ(ui.box, kNoSelection);
    EXPECT_TRUE(ui.Messages().empty());
  }
  Select(kCdDrive);
  ui.drive.reset();
  ui.statusText = "earlier message";
  EXPECT_EQ(control->ChangeDriveMode(DriveMode::kPerformancePermanent), -1);
  if (Aspi()) {
    EXPECT_EQ(ui.box, kNoSelection);
    EXPECT_TRUE(ui.Messages().empty());
  } else {
    // pacespti shows the words in a box with its name as caption and empties the status.
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, kNoSelection);
    EXPECT_EQ(ui.Messages()[0].caption, "");
    EXPECT_EQ(ui.Messages()[0].style, drvcmd::kMbOk);
    EXPECT_EQ(ui.box, "");
  }
  EXPECT_TRUE(machine->Log().Entries().empty());
}

TEST_P(SpeedRunTest, PermanentModeSurvivesARestartTemporaryDoesNot) {
  const std::filesystem::path folder = testsupport::MakeTemporaryFolder(
      "speed-state-" + std::string(Variant().applicationTitle) + "-");
  ASSERT_FALSE(folder.empty());
  const std::string state = (folder / "state.json").string();
  std::filesystem::remove(state);

  Boot(pacetest::MachineJson(), state);
  Select(kEmptyDrive);
  ASSERT_EQ(control->ChangeDriveMode(DriveMode::kQuietPermanent), 0);
  Select(kDvdDrive);
  ui.notice.answers = {drvcmd::kIdCancel};
  ASSERT_EQ(control->ChangeDriveMode(DriveMode::kQuietTemporary), 0);
  EXPECT_EQ(Drive(kDvdDrive).Speed().currentMode, emu::SpeedMode::kQuiet);

  Boot(pacetest::MachineJson(), state);
  EXPECT_EQ(Drive(kEmptyDrive).Speed().currentMode, emu::SpeedMode::kQuiet);
  EXPECT_EQ(Drive(kDvdDrive).Speed().currentMode, emu::SpeedMode::kPerformance);
  pace::ReadSpeeds speeds;
  Select(kEmptyDrive);
  control->ShowDriveSpeeds(&speeds);
  EXPECT_EQ(speeds.current, 2816);  // the KD-320's quiet CD speed

  // Back to performance for good.
  ASSERT_EQ(control->ChangeDriveMode(DriveMode::kPerformancePermanent), 0);
  Boot(pacetest::MachineJson(), state);
  EXPECT_EQ(Drive(kEmptyDrive).Speed().currentMode, emu::SpeedMode::kPerformance);
  std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, SpeedRunTest,
                         ::testing::Values(&PaceVariant::Spti(), &PaceVariant::Aspi()),
                         pacetest::BuildName);

// Build-specific start-up and addressing.

std::unique_ptr<emu::EmulatedMachine> Load(const std::string& json) {
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  std::string error;
  auto machine = emu::EmulatedMachine::LoadText(json, "speed-test.json", options, &error);
  EXPECT_NE(machine, nullptr) << error;
  return machine;
}

TEST(SpeedStartTest, AspiGoesOnWithoutManagerAndItsOneLineIsNoDrive) {
  auto machine = Load(R"({"aspi": {"manager": "missing"}, "devices": []})");
  testsupport::FakeSpeedUi ui;
  pace::SpeedControl control(PaceVariant::Aspi(), *machine, ui);
  const int start = control.Start();
  EXPECT_EQ(start, drvcmd::kStartAspiLoadError);
  EXPECT_FALSE(pace::SpeedControl::StartIsFatal(start));
  drvcmd::DriveCombo combo;
  control.ScanDrives(combo);
  EXPECT_EQ(combo.labels, (Strings{"No I/F adapter"}));
  EXPECT_EQ(combo.selected, drvcmd::kNoItem);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "No ATAPI I/F found.");

  // Picking the line by hand addresses no drive.
  ui.Clear();
  ui.drive = 0;
  EXPECT_EQ(control.ShowDriveSpeeds(), -1);
  EXPECT_EQ(ui.box, kNoSelection);
  EXPECT_TRUE(machine->Log().Entries().empty());
}

TEST(SpeedStartTest, FailedBufferAllocationIsFatalInBothBuilds) {
  for (const PaceVariant* variant : {&PaceVariant::Spti(), &PaceVariant::Aspi()}) {
    auto machine = Load(R"({"memory": {"failAllocation": 2}, "devices": []})");
    testsupport::FakeSpeedUi ui;
    pace::SpeedControl control(*variant, *machine, ui);
    const int start = control.Start();
    EXPECT_EQ(start, drvcmd::kStartMemoryError);
    EXPECT_TRUE(pace::SpeedControl::StartIsFatal(start));
    EXPECT_EQ(machine->LiveMemoryBlocks(), 0u);
  }
}

// A drive that answers MODE SENSE(6) with `answered` bytes of its 26.
class ShortReplyTransport : public drvcmd::Transport {
 public:
  ShortReplyTransport(platform::Platform& system, drvcmd::Notice& notice)
      : Transport(drvcmd::ProgramId::kPaceSpti, system, notice) {}
  int StartTransport() override { return drvcmd::kStartOk; }
  int StopTransport() override { return 0; }
  int ExecuteRequest(drvcmd::ScsiRequest& request) override {
    // Header, then page 2Ah: maximum 5540 kbytes/s at page byte 8, current 2816 at 14.
    constexpr std::size_t kPage = 4;
    std::array<std::uint8_t, 26> reply{};
    reply[0] = 25;
    reply[kPage] = 0x2A;
    drvcmd::PutBe16(&reply[kPage + 8], 5540);
    drvcmd::PutBe16(&reply[kPage + 14], 2816);
    std::copy_n(reply.begin(), answered, request.buffer);
    request.transferred = answered;
    request.outcome = lastOutcome_ = drvcmd::kOutcomeGood;
    return drvcmd::kOutcomeGood;
  }
  std::uint32_t answered = 26;
};

TEST(SpeedCommandsTest, AShortCapabilitiesReplyNeverShowsAnEarlierOnesSpeeds) {
  auto machine = Load(R"({"devices": []})");
  testsupport::FakeSpeedUi ui;
  ShortReplyTransport drive(*machine, ui);
  pace::CapabilitiesReply reply{};
  const PaceVariant& variant = PaceVariant::Spti();
  ASSERT_EQ(pace::ReadCapabilitiesPage(drive, {}, variant, reply), drvcmd::kOutcomeGood);
  EXPECT_EQ(pace::SpeedsFromReply(variant, reply).current, 2816);
  drive.answered = 4;  // the header only
  ASSERT_EQ(pace::ReadCapabilitiesPage(drive, {}, variant, reply), drvcmd::kOutcomeGood);
  EXPECT_EQ(pace::SpeedsFromReply(variant, reply).current, 0);
  EXPECT_EQ(pace::SpeedsFromReply(variant, reply).maximum, 0);
}

TEST(SpeedStartTest, PassThroughReportsADriveThatDoesNotOpen) {
  auto machine = Load(pacetest::MachineJson());
  testsupport::FakeSpeedUi ui;
  pace::SpeedControl control(PaceVariant::Spti(), *machine, ui);
  ASSERT_EQ(control.Start(), 0);
  // A letter nothing answers on, as a stale list entry would name it.
  drvcmd::DriveCombo drives;
  drives.labels = {"Q: "};
  drives.addresses = {drvcmd::DriveAddress{'Q', 0, 0}};
  control.UseDrives(drives);
  ui.drive = 0;
  EXPECT_EQ(control.ChangeDriveMode(DriveMode::kQuietTemporary), -1);
  EXPECT_EQ(ui.box, "Device open (Q) is fail.\r\n");
  EXPECT_TRUE(machine->Log().Entries().empty());
  EXPECT_EQ(machine->OpenDeviceHandles(), 0u);
}

TEST(SpeedStartTest, PassThroughClosesTheDriveAfterEveryOperation) {
  auto machine = Load(pacetest::MachineJson());
  testsupport::FakeSpeedUi ui;
  pace::SpeedControl control(PaceVariant::Spti(), *machine, ui);
  ASSERT_EQ(control.Start(), 0);
  drvcmd::DriveCombo combo;
  control.ScanDrives(combo);
  ui.drive = kCdDrive.index;
  ui.extraction = 0;
  control.ShowDriveSpeeds();
  control.SetExtractionSpeed();
  control.ChangeDriveMode(DriveMode::kQuietTemporary);
  EXPECT_EQ(machine->OpenDeviceHandles(), 0u);
  EXPECT_EQ(machine->Log().Entries().back().letter, 'F');
}

}  // namespace
