// Loading machine files: what the platform reports, and the errors that name
// the file and the line or field for files that must be refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/emulator/machine_test_support.h"

namespace emu::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(MachineLoading, PlatformReportComesFromTheFile) {
  auto machine = LoadMachine(R"({
    "platform": {"platformId": 1, "majorVersion": 4, "minorVersion": 10,
                 "buildNumber": "0x040A08AE", "csdVersion": " A ",
                 "processorArchitecture": 0, "processorLevel": 15,
                 "processorRevision": "0x0803"}
  })");
  ASSERT_NE(machine, nullptr);
  platform::OsVersionInfoA version{};
  ASSERT_EQ(machine->Kernel32().GetVersionExA(&version), platform::kTrue);
  EXPECT_EQ(version.dwPlatformId, 1u);
  EXPECT_EQ(version.dwMajorVersion, 4u);
  EXPECT_EQ(version.dwMinorVersion, 10u);
  EXPECT_EQ(version.dwBuildNumber, 0x040A08AEu);
  EXPECT_STREQ(version.szCSDVersion, " A ");
  platform::SystemInfo system{};
  machine->Kernel32().GetSystemInfo(&system);
  EXPECT_EQ(system.wProcessorLevel, 15);
  EXPECT_EQ(system.wProcessorRevision, 0x0803);

  // The component agrees with the version report unless told otherwise.
  auto component = machine->SystemInfoComponents().CreateSystemInfoComponent();
  ASSERT_NE(component, nullptr);
  platform::Short platformId = 0, build = 0;
  float versionNumber = 0;
  EXPECT_EQ(component->get_OSPlatform(&platformId), platform::kSOk);
  EXPECT_EQ(component->get_OSBuildNumber(&build), platform::kSOk);
  EXPECT_EQ(component->get_OSVersion(&versionNumber), platform::kSOk);
  EXPECT_EQ(platformId, 1);
  EXPECT_EQ(build, 0x08AE);
  EXPECT_FLOAT_EQ(versionNumber, 4.1f);
}

TEST(MachineLoading, GetVersionExARefusesARecordOfTheWrongSize) {
  auto machine = LoadMachine("{}");
  platform::OsVersionInfoA version{};
  version.dwOSVersionInfoSize = 100;
  EXPECT_EQ(machine->Kernel32().GetVersionExA(&version), platform::kFalse);
  EXPECT_EQ(machine->Kernel32().GetLastError(), platform::kErrorInsufficientBuffer);
  EXPECT_EQ(version.dwMajorVersion, 0u);
}

TEST(MachineLoading, SystemInfoComponentValuesAndFailures) {
  auto machine = LoadMachine(
      R"({"systemInfoComponent": {"platform": 1, "version": 4.1, "build": 2222,
                                  "failingRead": "version"}})");
  auto component = machine->SystemInfoComponents().CreateSystemInfoComponent();
  ASSERT_NE(component, nullptr);
  platform::Short build = 0;
  float version = 0;
  EXPECT_EQ(component->get_OSBuildNumber(&build), platform::kSOk);
  EXPECT_EQ(build, 2222);
  EXPECT_EQ(component->get_OSVersion(&version), platform::kEFail);

  auto refusing = LoadMachine(R"({"systemInfoComponent": {"createFails": true}})");
  EXPECT_EQ(refusing->SystemInfoComponents().CreateSystemInfoComponent(), nullptr);
}

TEST(MachineLoading, SyntaxErrorNamesFileAndLine) {
  const std::string error =
      LoadError("{\n  \"aspi\": {\"manager\": \"present\"},\n  \"devices\": [,]\n}");
  EXPECT_THAT(error, StartsWith("machine.json: line 3, column 15: "));
}

TEST(MachineLoading, ANumberTooLargeToReadNamesTheFileWithoutTheLibrarysTag) {
  EXPECT_EQ(LoadError("{\"clock\": {\"startMs\": 631e30932}}"),
            "machine.json: number overflow parsing '631e30932'");
}

TEST(MachineLoading, ContentErrorsNameTheField) {
  struct Case {
    const char* json;
    const char* message;
  };
  const Case cases[] = {
      {"[]", "machine.json: expected a JSON object at the top"},
      {R"({"platfrom": {}})", "machine.json: platfrom: unknown field"},
      {R"({"platform": {"majorVersion": "five"}})",
       "machine.json: platform.majorVersion: expected a number from 0 to 4294967295"},
      {R"({"aspi": {"manager": "absent"}})", "machine.json: aspi.manager: expected \"present\""},
      {R"({"adapters": [{"number": 0, "identifier": "A"}, {"number": 2, "identifier": "B"}]})",
       "machine.json: adapters[1].number: adapters must be numbered 0 to 1, each once"},
      {R"({"adapters": [{"number": 0}]})", "machine.json: adapters[0].identifier: missing"},
      {R"({"devices": [{"letter": "DD", "adapter": 0, "target": 0}]})",
       "machine.json: devices[0].letter: expected a single letter C..Z"},
      {R"({"devices": [{"letter": "B", "adapter": 0, "target": 0}]})",
       "machine.json: devices[0].letter: expected a single letter C..Z"},
      {R"({"devices": [{"letter": "D", "adapter": 0}]})",
       "machine.json: devices[0].target: missing"},
      {R"({"devices": [{"letter": "D", "adapter": 0, "target": 0, "bogus": 1}]})",
       "machine.json: devices[0].bogus: unknown field"},
      {R"({"devices": [{"letter": "D", "adapter": 0, "target": 0},
                       {"letter": "d", "adapter": 0, "target": 1}]})",
       "machine.json: devices[1].letter: drive letter D is used twice"},
      {R"({"devices": [{"adapter": 0, "target": 0}, {"adapter": 0, "target": 0}]})",
       "machine.json: devices[1].target: adapter 0 target 0 is used twice"},
      {R"({"devices": [{"adapter": 0, "target": 0, "openFails": "yes"}]})",
       "machine.json: devices[0].openFails: expected true or false"},
      {R"({"devices": [{"adapter": 0, "target": 0,
                        "faults": [{"opcode": "0x3B", "sense": "5-24-0"}]}]})",
       "machine.json: devices[0].faults[0].sense: expected \"KK-AA-QQ\""},
      {R"({"devices": [{"adapter": 0, "target": 0, "faults": [{"opcode": "0x3B"}]}]})",
       "machine.json: devices[0].faults[0]: a fault needs"},
      {R"({"devices": [{"adapter": 0, "target": 0,
                        "faults": [{"opcode": 18, "delayMs": 5, "times": 0}]}]})",
       "machine.json: devices[0].faults[0].times: expected a count"},
      {R"({"devices": [{"adapter": 0, "target": 0,
                        "faults": [{"opcode": "0x100", "delayMs": 5}]}]})",
       "machine.json: devices[0].faults[0].opcode: expected a number from 0 to 255"},
      {R"({"memory": {"failAllocation": -1}})", "machine.json: memory.failAllocation"},
      {R"({"clock": {"minimumPeriod": 0}})", "machine.json: clock.minimumPeriod: must be 1"},
      {R"({"devices": [{"adapter": 0, "target": 0}], "driveStates": {"0:5": {}}})",
       "machine.json: driveStates.0:5: no device at this adapter:target"},
  };
  for (const Case& c : cases) {
    EXPECT_THAT(LoadError(c.json), StartsWith(c.message)) << c.json;
  }
}

TEST(MachineLoading, DriveFieldErrorsAreTheDrivesOwnAndNameTheDevice) {
  const std::string error =
      LoadError(R"({"devices": [{"letter": "D", "adapter": 0, "target": 0, "model": "NO-SUCH"}]})");
  EXPECT_THAT(error, StartsWith("machine.json: devices[0]"));
  EXPECT_THAT(error, HasSubstr("model"));
}

TEST(MachineLoading, UnreadableFilesAreErrorsNamingThePath) {
  const auto folder = std::filesystem::temp_directory_path() / "emu_machine_loading_test";
  std::filesystem::create_directories(folder);
  std::string error;
  const std::string missing = (folder / "missing.json").string();
  EXPECT_EQ(EmulatedMachine::LoadFile(missing, {}, &error), nullptr);
  EXPECT_THAT(error, StartsWith(missing + ": cannot be read"));

  EXPECT_EQ(EmulatedMachine::LoadFile(folder.string(), {}, &error), nullptr);
  EXPECT_THAT(error, StartsWith(folder.string() + ": cannot be read"));

  const std::string truncated = (folder / "truncated.json").string();
  std::ofstream(truncated) << "{\"devices\": [";
  EXPECT_EQ(EmulatedMachine::LoadFile(truncated, {}, &error), nullptr);
  EXPECT_THAT(error, StartsWith(truncated + ": line 1, column "));
  std::filesystem::remove_all(folder);
}

TEST(MachineLoading, HostileFilesAreRefusedWithAnErrorNamingTheFile) {
  const auto folder = std::filesystem::temp_directory_path() / "emu_machine_hostile_test";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "machine.json").string();
  std::string devices = R"({"devices": [)";
  for (int i = 0; i < 33; ++i) {
    devices +=
        (i ? "," : "") + std::string(R"({"adapter": 0, "target": )") + std::to_string(i % 16) + "}";
    if (i == 15) devices += R"(,{"adapter": 1, "target": 0})";
  }
  devices += "]}";
  const std::string deep(200000, '[');
  const std::string cases[] = {
      "",
      "   \n\t ",
      deep,
      R"({"description": )" + deep,
      R"({"driveStates": {"0:0": )" + std::string(100000, '{'),
      std::string("{\"description\": \"a\0b\"}", 19),
      "{\"description\": \"\xff\xfe\"}",
      R"({"platform": []})",
      R"({"platform": {"majorVersion": 1e400}})",
      R"({"platform": {"majorVersion": 18446744073709551616}})",
      R"({"platform": {"majorVersion": -5}})",
      R"({"platform": {"majorVersion": 5.5}})",
      R"({"platform": {"processorLevel": "0x10000"}})",
      R"({"systemInfoComponent": {"version": 1e39}})",
      R"({"systemInfoComponent": {"build": 40000}})",
      R"({"devices": {"adapter": 0}})",
      R"({"devices": [[]]})",
      R"({"devices": [{"adapter": -1, "target": 0}]})",
      R"({"devices": [{"adapter": 0, "target": 0, "letter": 5}]})",
      R"({"devices": [{"adapter": 0, "target": 0, "faults": [{"opcode": 0, "delayMs": 1e300}]}]})",
      R"({"devices": [{"adapter": 0, "target": 0, "faults": [{"opcode": 0, "delayMs": 1,
                                                          "times": -1}]}]})",
      R"({"devices": [{"adapter": 0, "target": 0, "model": "KD-410",
                       "corruptDuringProgramming": {"offset": -1}}]})",
      R"({"devices": [{"adapter": 0, "target": 0, "model": "KD-410", "vendor": "TWENTY CHARACTERS!!!"}]})",
      R"({"devices": [{"adapter": 0, "target": 0, "model": "KD-410"}],
          "driveStates": {"0:0": {"memory": [{"offset": "0x2100E", "bytes": "0102030405"}]}}})",
      R"({"devices": [{"adapter": 0, "target": 0, "model": "KD-410"}],
          "driveStates": {"0:0": {"memory": [{"offset": "-1", "bytes": "01"}]}}})",
      R"({"devices": [{"adapter": 0, "target": 0, "model": "KD-410"}],
          "driveStates": {"0:0": {"inquiry": 7}}})",
      R"({"devices": [{"adapter": 0, "target": 0}], "driveStates": []})",
      devices,
  };
  for (const std::string& text : cases) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    std::string error;
    EXPECT_EQ(EmulatedMachine::LoadFile(path, {}, &error), nullptr) << text.substr(0, 120);
    EXPECT_THAT(error, StartsWith(path + ": ")) << text.substr(0, 120);
  }

  // A file far larger than any machine is refused before it is read.
  std::filesystem::resize_file(path, std::uintmax_t{64} << 20);
  std::string error;
  EXPECT_EQ(EmulatedMachine::LoadFile(path, {}, &error), nullptr);
  EXPECT_THAT(error, StartsWith(path + ": cannot be read: larger than"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace emu::testing
