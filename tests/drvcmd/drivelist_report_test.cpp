// drivelist's report: the selection marks, identification, platform failures,
// the demo machine's lists and a computer without any optical drive.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>

#include "emulator/emulated_machine.h"
#include "platform/linux/linux_platform.h"
#include "tests/support/linux_rig.h"
#include "tools/drivelist/drive_list_report.h"

namespace {

std::unique_ptr<emu::EmulatedMachine> Load(const std::string& json) {
  std::string error;
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  auto machine = emu::EmulatedMachine::LoadText(json, "drivelist-test.json", options, &error);
  EXPECT_NE(machine, nullptr) << error;
  return machine;
}

TEST(DriveListReportTest, MarksSelectionsAndIdentifiesAgainstBothTables) {
  auto machine = Load(R"({
    "adapters": [{"number": 0, "identifier": "ESDI_506"}],
    "devices": [{"letter": "D", "adapter": 0, "target": 0, "model": "KD-16X"}]})");
  ASSERT_NE(machine, nullptr);
  std::ostringstream out;
  EXPECT_EQ(tools::ReportDriveLists(*machine, out), 0);
  const std::string text = out.str();
  EXPECT_NE(text.find("* D: TAVREON 16X DVD-ROM      (C/DVD-ROM)\n"
                      "      flashspti table: generation 6; flashaspi table: not supported\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  00 : ATAPI Interface\n*     ID=0 : TAVREON 16X DVD-ROM"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("      ID=1 : None\n"), std::string::npos) << text;
}

TEST(DriveListReportTest, MissingManagerIsAFailureWithItsStartupMessage) {
  auto machine = Load(R"({"aspi": {"manager": "missing"}})");
  ASSERT_NE(machine, nullptr);
  std::ostringstream out;
  EXPECT_EQ(tools::ReportDriveLists(*machine, out), 1);
  EXPECT_NE(out.str().find("[message] WNASPI32.DLL Load Error or is not found\n"),
            std::string::npos);
  EXPECT_NE(out.str().find("[message] No ATAPI I/F found.\n  No I/F adapter\n"), std::string::npos);
}

TEST(DriveListReportTest, DeviceWithoutAccessIsReportedWithTheSystemText) {
  auto machine = Load(R"({
    "adapters": [{"number": 0, "identifier": "ESDI_506"}],
    "devices": [{"letter": "E", "adapter": 0, "target": 0, "model": "KD-410",
                 "openFails": true}]})");
  ASSERT_NE(machine, nullptr);
  std::ostringstream out;
  EXPECT_EQ(tools::ReportDriveLists(*machine, out), 1);
  EXPECT_NE(out.str().find("drivelist: \\\\.\\E: Access is denied.\n"), std::string::npos)
      << out.str();
}

TEST(DriveListReportTest, NodesThatCannotBeOpenedAreNamedWithTheFix) {
  testsupport::LinuxRig rig;
  ASSERT_NE(rig.system, nullptr);
  rig.io->openErrors[rig.sysfs.DevNode("sg0")] = EACCES;
  rig.io->openErrors[rig.sysfs.DevNode("sr0")] = EACCES;
  std::ostringstream out;
  EXPECT_EQ(tools::ReportDriveLists(*rig.system, out), 1);
  EXPECT_NE(out.str().find("drivelist: \\\\.\\D: Access is denied.\n"), std::string::npos)
      << out.str();
  bool named = false;
  for (const auto& line : rig.told) {
    named = named || (line.find("D: " + rig.sysfs.DevNode("sg0")) != std::string::npos &&
                      line.find("cdrom group") != std::string::npos &&
                      line.find("root") != std::string::npos);
  }
  EXPECT_TRUE(named);
}

TEST(DriveListReportTest, NodesBehindLettersAndTargetsInTextAndJson) {
  testsupport::LinuxRig rig;
  ASSERT_NE(rig.system, nullptr);
  std::ostringstream out;
  nlohmann::json report;
  EXPECT_EQ(tools::ReportDriveLists(*rig.system, out, &report), 0) << out.str();
  const std::string sr0 = rig.sysfs.DevNode("sr0");
  const std::string sg0 = rig.sysfs.DevNode("sg0");
  const std::string nodes = "node: " + sr0 + " " + sg0 + "\n";
  EXPECT_NE(out.str().find("zonespti: drive list\n* D: "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("\n      " + nodes), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("\n          " + nodes), std::string::npos) << "ASPI tree";

  // Every program in the order of the text, each listed drive with its nodes.
  ASSERT_EQ(report["programs"].size(), 5u);
  const char* const programs[] = {"flashspti", "zonespti", "pacespti", "flashaspi", "paceaspi"};
  for (std::size_t i = 0; i < 5; ++i) {
    const nlohmann::json& program = report["programs"][i];
    EXPECT_EQ(program["program"], programs[i]);
    EXPECT_EQ(program["started"], true);
    ASSERT_EQ(program["drives"].size(), 1u) << programs[i];
    const nlohmann::json& drive = program["drives"][0];
    EXPECT_EQ(drive["nodes"], nlohmann::json::array({sr0, sg0})) << programs[i];
    EXPECT_EQ(drive.contains("letter"), i < 3) << programs[i];
  }
  EXPECT_EQ(report["programs"][1]["drives"][0]["letter"], "D");
  EXPECT_EQ(report["programs"][4]["drives"][0]["adapter"], 0);
  EXPECT_EQ(report["programs"][4]["drives"][0]["target"], 0);
  EXPECT_EQ(report["ok"], true);
}

TEST(DriveListReportTest, JsonCarriesIdentificationMessagesAndTheOutcome) {
  auto machine = Load(R"({
    "aspi": {"manager": "missing"},
    "devices": [{"letter": "D", "adapter": 0, "target": 0, "model": "KD-16X", "node": "/dev/sr0"},
                {"letter": "E", "adapter": 0, "target": 1, "type": "0x05", "vendor": "OTHER"}]})");
  ASSERT_NE(machine, nullptr);
  std::ostringstream out;
  nlohmann::json report;
  EXPECT_EQ(tools::ReportDriveLists(*machine, out, &report), 1);
  EXPECT_EQ(report["ok"], false);
  const nlohmann::json& zone = report["programs"][1];
  ASSERT_EQ(zone["drives"].size(), 2u);
  EXPECT_EQ(zone["drives"][0]["selected"], true);
  EXPECT_EQ(zone["drives"][0]["nodes"], nlohmann::json::array({"/dev/sr0"}));
  EXPECT_EQ(zone["drives"][0]["flashsptiGeneration"], 6);
  EXPECT_EQ(zone["drives"][0]["flashaspiGeneration"], nullptr);
  EXPECT_EQ(zone["drives"][1]["selected"], false);
  EXPECT_EQ(zone["drives"][1]["nodes"], nlohmann::json::array());
  EXPECT_EQ(zone["drives"][1]["flashsptiGeneration"], nullptr);
  const nlohmann::json& flashaspi = report["programs"][3];
  EXPECT_EQ(flashaspi["started"], false);
  EXPECT_EQ(flashaspi["messages"],
            nlohmann::json::array({"WNASPI32.DLL Load Error or is not found"}));
}

TEST(DriveListReportTest, DemoMachinePrintsEveryProgramsList) {
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  std::string error;
  auto machine = emu::EmulatedMachine::LoadFile(DVDUTIL_SOURCE_DIR "/emulator/machines/demo.json",
                                                options, &error);
  ASSERT_NE(machine, nullptr) << error;
  std::ostringstream out;
  EXPECT_EQ(tools::ReportDriveLists(*machine, out), 0);
  const std::string text = out.str();
  const char* const expected[] = {
      "flashspti: drive tree\n  D: TAVREON DVD-ROM KD-410   (C/DVD-ROM)\n",
      "\n  J: WRITEON CD-RW DRIVE 4012 (CD-R/RW or WORM)\n",
      "zonespti: drive list\n* D: TAVREON DVD-ROM KD-410   (C/DVD-ROM)\n",
      "pacespti: drive list\n* D: TAVREON DVD-ROM KD-410   (C/DVD-ROM)\n",
      "flashaspi: adapter tree\n  00 : ATAPI Interface\n",
      "\n  02 : NORTHSTAR ULTRA2\n",
      "\n      ID=5 : None\n",
      "\n*     ID=6 : TAVREON 16X DVD-ROM     1.20\n",
      "paceaspi: drive list\n* ID=1 : TAVREON DVD-ROM KD-410   ESDI_506\n",
  };
  for (const char* line : expected) EXPECT_NE(text.find(line), std::string::npos) << line;
  // The disks on C: and K: are in no pass-through list.
  EXPECT_EQ(text.find("C: "), std::string::npos);
  EXPECT_EQ(text.find("K: "), std::string::npos);
  EXPECT_EQ(text.find("[message]"), std::string::npos) << text;
}

// A computer without optical drives: an empty sysfs, with or without the SCSI
// generic driver that stands in for the ASPI manager.
class NoOpticalDriveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A directory of its own, so that parallel runs do not share it.
    std::string pattern = (std::filesystem::temp_directory_path() / "drivelist-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ / "sys" / "class" / "block");
    std::filesystem::create_directories(root_ / "dev");
  }
  void TearDown() override {
    std::error_code ignored;
    if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
  }
  std::string Report(int* result) {
    platform::LinuxPlatformOptions options;
    options.layout.sysRoot = (root_ / "sys").string();
    options.layout.devRoot = (root_ / "dev").string();
    std::string error;
    auto system = platform::CreateLinuxPlatform(options, &error);
    EXPECT_NE(system, nullptr) << error;
    if (!system) return {};
    std::ostringstream out;
    *result = tools::ReportDriveLists(*system, out);
    return out.str();
  }
  std::filesystem::path root_;
};

constexpr char kEmptyPassThroughLists[] =
    "flashspti: drive tree\n  (nothing selected)\n"
    "zonespti: drive list\n  (nothing selected)\n"
    "pacespti: drive list\n  (nothing selected)\n";

TEST_F(NoOpticalDriveTest, WithoutTheManagerEachAspiProgramReportsItsOutcome) {
  int result = 0;
  EXPECT_EQ(Report(&result),
            std::string(kEmptyPassThroughLists) +
                "flashaspi: adapter tree\n"
                "[message] WNASPI32.DLL Load Error or is not found\n"
                "paceaspi: drive list\n"
                "drivelist: ASPI manager: WNASPI32.DLL Load Error or is not found\n"
                "[message] No ATAPI I/F found.\n"
                "  No I/F adapter\n"
                "  (nothing selected)\n");
  EXPECT_EQ(result, 1);
}

TEST_F(NoOpticalDriveTest, WithAManagerButNoAdapterEachAspiProgramReportsItsOutcome) {
  std::filesystem::create_directories(root_ / "sys" / "class" / "scsi_generic");
  int result = 0;
  EXPECT_EQ(Report(&result), std::string(kEmptyPassThroughLists) +
                                 "flashaspi: adapter tree\n"
                                 "[message] Generic error occured\n"
                                 "paceaspi: drive list\n"
                                 "drivelist: ASPI manager: Generic error occured\n"
                                 "[message] No ATAPI I/F found.\n"
                                 "  No I/F adapter\n"
                                 "  (nothing selected)\n");
  EXPECT_EQ(result, 1);
}

}  // namespace
