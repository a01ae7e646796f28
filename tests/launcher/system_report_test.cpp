// The system report: every row of the processor and OS tables, the versions
// no row names, a Linux system, and the refresh after each line.
#include "launcher/system_report.h"

#include <gtest/gtest.h>

#include <cstring>

#include "launcher/launcher.h"
#include "tests/support/fake_launcher.h"

namespace launcher {
namespace {

using platform::Dword;

platform::SystemInfo Processor(platform::Word architecture, platform::Word level,
                               platform::Word revision) {
  platform::SystemInfo info{};
  info.wProcessorArchitecture = architecture;
  info.wProcessorLevel = level;
  info.wProcessorRevision = revision;
  return info;
}

platform::OsVersionInfoA Version(Dword platformId, Dword major, Dword minor, Dword build,
                                 const char* servicePack = "") {
  platform::OsVersionInfoA info{};
  info.dwPlatformId = platformId;
  info.dwMajorVersion = major;
  info.dwMinorVersion = minor;
  info.dwBuildNumber = build;
  std::strncpy(info.szCSDVersion, servicePack, sizeof info.szCSDVersion - 1);
  return info;
}

struct ProcessorRow {
  platform::Word architecture, level, revision;
  const char* line;
};

TEST(LauncherReport, ProcessorLineForEveryRowOfTheTable) {
  const ProcessorRow rows[] = {
      {0, 3, 0x0008, "Intel 80386 Processor : Revision 0008h\r\n"},
      {0, 4, 0x0301, "Intel 80486 Processor : Revision 0301h\r\n"},
      {0, 5, 0x0802, "Intel Pentium/Pentium MMX Processor : Revision 0802h\r\n"},
      {0, 6, 0x0a0b, "Intel Pentium 2/3 or Celeron Processor : Revision 0a0bh\r\n"},
      {0, 15, 0xfe1c, "Intel Architecture Processor : Revision fe1ch\r\n"},
      {0, 7, 0x0000, "Intel Architecture Processor : Revision 0000h\r\n"},
      {1, 4, 0x1234, "MIPS RISC Architecture Processor\r\n"},
      {2, 21064, 0, "DEC Alpha Architecture Processor\r\n"},
      {3, 601, 0, "Motrola/IBM Power PC Architecture Processor\r\n"},
      {6, 7, 0, "Intel Architecture 64bits Processor\r\n"},
      {4, 0, 0, "Unknown type processor\r\n"},
      {5, 0, 0, "Unknown type processor\r\n"},
      {7, 0, 0, "Unknown type processor\r\n"},
      {9, 6, 0x0803, "Unknown type processor\r\n"},
      {0xFFFF, 0, 0, "Unknown type processor\r\n"},
  };
  for (const ProcessorRow& row : rows) {
    EXPECT_EQ(ProcessorLine(Processor(row.architecture, row.level, row.revision)), row.line)
        << "architecture " << row.architecture << " level " << row.level;
  }
}

struct OsRow {
  platform::OsVersionInfoA version;
  const char* line;
};

TEST(LauncherReport, OsLineForEveryRowOfTheTable) {
  const OsRow rows[] = {
      // The older family keeps major and minor in the build's high word.
      {Version(1, 4, 0, 0x040007CE), "Windows 98 (Build 4.0.1998)\r\n"},
      {Version(1, 4, 10, 0x040A08AE), "Windows 98 Second Edition (Build 4.10.2222)\r\n"},
      {Version(1, 4, 90, 0x045A0BB8), "Windows Millenium Edition (Build 4.90.3000)\r\n"},
      {Version(2, 4, 0, 1381, "Service Pack 6"),
       "Windows NT4.0 (Build 4.0.1381)\r\nService Pack 6\r\n"},
      {Version(2, 5, 0, 2195, "Service Pack 4"),
       "Windows 2000 (Build 5.0.2195)\r\nService Pack 4\r\n"},
      // Every major version 5 is "Windows 2000", with its own minor version.
      {Version(2, 5, 1, 2600, "Service Pack 2"),
       "Windows 2000 (Build 5.1.2600)\r\nService Pack 2\r\n"},
      {Version(2, 5, 0, 2195), "Windows 2000 (Build 5.0.2195)\r\n\r\n"},
      {Version(3, 1, 0, 0), "Unknown platform\r\n"},
      {Version(0, 3, 10, 0), "Unknown platform\r\n"},
  };
  for (const OsRow& row : rows) {
    EXPECT_EQ(OsLine(row.version, {}), row.line)
        << "platform " << row.version.dwPlatformId << " " << row.version.dwMajorVersion << "."
        << row.version.dwMinorVersion;
  }
}

TEST(LauncherReport, VersionsNoRowNamesShowTheFamilyAndTheNumbers) {
  EXPECT_EQ(OsLine(Version(1, 4, 20, 0x0414057A), {}), "Windows (Build 4.20.1402)\r\n");
  EXPECT_EQ(OsLine(Version(2, 6, 1, 7601, "Service Pack 1"), {}),
            "Windows NT (Build 6.1.7601)\r\nService Pack 1\r\n");
}

TEST(LauncherReport, ServicePackWithoutTerminatorIsReadNoFurtherThanItsField) {
  platform::OsVersionInfoA version = Version(2, 5, 0, 2195);
  std::memset(version.szCSDVersion, 'S', sizeof version.szCSDVersion);
  const std::string line = OsLine(version, {});
  EXPECT_EQ(line, "Windows 2000 (Build 5.0.2195)\r\n" + std::string(128, 'S') + "\r\n");
}

TEST(LauncherReport, LinuxSystemIsNamedByDistributionAndKernelWhateverItsVersionNumbers) {
  const platform::NativeSystem linux{"Debian GNU/Linux 12 (bookworm)", "Linux 6.1.0-18-amd64"};
  const char* expected = "Debian GNU/Linux 12 (bookworm)\r\nLinux 6.1.0-18-amd64\r\n";
  EXPECT_EQ(OsLine(Version(2, 6, 1, 0, "Linux 6.1.0-18-amd64"), linux), expected);
  // A 5.x kernel is not a Windows 2000.
  EXPECT_EQ(OsLine(Version(2, 5, 10, 0, "Linux 5.10.0"), linux), expected);
}

// A processor Linux names is shown as named; without a name (an emulated
// machine) the processor record decides.
TEST(LauncherReport, LinuxProcessorIsNamedAsTheSystemNamesIt) {
  testsupport::FakeLauncherPlatform system;
  system.launcherKernel.processor = Processor(0, 15, 0x0102);
  system.launcherKernel.version = Version(2, 6, 1, 0);
  system.native = {"Debian", "Linux 6.1", "AMD Ryzen 7 5800X 8-Core Processor"};
  Launcher launcher(system);
  launcher.CaptureSystem();
  testsupport::FakeLauncherUi ui;
  launcher.BuildSystemReport(ui);
  ASSERT_FALSE(ui.refreshed.empty());
  EXPECT_EQ(ui.refreshed[0], "[Processor information]\r\nAMD Ryzen 7 5800X 8-Core Processor\r\n");
  EXPECT_EQ(SystemReport(launcher.Processor(), launcher.Version(), launcher.Native()),
            ui.refreshed.back());
  EXPECT_EQ(ProcessorLine(Processor(0, 15, 0x0102), {"Debian", "Linux 6.1", ""}),
            "Intel Architecture Processor : Revision 0102h\r\n");
}

TEST(LauncherReport, LauncherRefreshesTheBoxAfterEachLine) {
  testsupport::FakeLauncherPlatform system;
  system.launcherKernel.processor = Processor(0, 6, 0x0803);
  system.launcherKernel.version = Version(2, 4, 0, 1381, "Service Pack 6");
  Launcher launcher(system);
  launcher.CaptureSystem();
  testsupport::FakeLauncherUi ui;
  launcher.BuildSystemReport(ui);
  const std::string processorPart =
      "[Processor information]\r\nIntel Pentium 2/3 or Celeron Processor : Revision 0803h\r\n";
  ASSERT_EQ(ui.refreshed.size(), 2u);
  EXPECT_EQ(ui.refreshed[0], processorPart);
  EXPECT_EQ(ui.refreshed[1], processorPart +
                                 "\r\n[OS information]\r\nWindows NT4.0 (Build 4.0.1381)\r\n"
                                 "Service Pack 6\r\n");
}

TEST(LauncherReport, CaptureSetsTheRecordSizeAndIgnoresTheResult) {
  testsupport::FakeLauncherPlatform system;
  system.launcherKernel.version = Version(1, 4, 10, 0x040A08AE);
  system.launcherKernel.versionResult = platform::kFalse;
  system.native = {"Some Linux", "Linux 6.0"};
  Launcher launcher(system);
  launcher.CaptureSystem();
  EXPECT_EQ(system.launcherKernel.sizeSeen, 148u);
  EXPECT_EQ(launcher.Version().dwMinorVersion, 10u);
  EXPECT_EQ(launcher.Native().distribution, "Some Linux");
}

}  // namespace
}  // namespace launcher
