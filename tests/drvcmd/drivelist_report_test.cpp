// drivelist's report: the selection marks, identification and platform failures.
#include <gtest/gtest.h>

#include <sstream>

#include "emulator/emulated_machine.h"
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
  EXPECT_EQ(tools::ReportDriveLists(*machine, out), 2);
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
  EXPECT_EQ(tools::ReportDriveLists(*machine, out), 2);
  EXPECT_NE(out.str().find("drivelist: \\\\.\\E: Access is denied.\n"), std::string::npos)
      << out.str();
}

}  // namespace
