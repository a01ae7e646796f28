// Kernel services, clock periods, the system report and the platform's assembly.
#include "platform/linux/linux_kernel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/linux_system_info_component.h"
#include "platform/linux/system_report.h"
#include "platform/win_errors.h"

namespace platform {
namespace {

TEST(LinuxKernel, AutoResetEventReleasesOneWaitThenTimesOut) {
  LinuxKernel kernel;
  const Handle event = kernel.CreateEventA(kFalse, kFalse);
  ASSERT_NE(event, kNullHandle);
  EXPECT_EQ(kernel.WaitForSingleObject(event, 0), kWaitTimeout);
  EXPECT_EQ(kernel.SetEvent(event), kTrue);
  EXPECT_EQ(kernel.WaitForSingleObject(event, 0), kWaitObject0);
  EXPECT_EQ(kernel.WaitForSingleObject(event, 5), kWaitTimeout);
  EXPECT_EQ(kernel.CloseHandle(event), kTrue);
}

TEST(LinuxKernel, ManualResetEventStaysSignalled) {
  LinuxKernel kernel;
  const Handle event = kernel.CreateEventA(kTrue, kTrue);
  EXPECT_EQ(kernel.WaitForSingleObject(event, 0), kWaitObject0);
  EXPECT_EQ(kernel.WaitForSingleObject(event, 0), kWaitObject0);
}

TEST(LinuxKernel, InfiniteWaitEndsWhenAnotherThreadSignals) {
  LinuxKernel kernel;
  const Handle event = kernel.CreateEventA(kFalse, kFalse);
  std::thread signaller([&] { kernel.SetEvent(event); });
  EXPECT_EQ(kernel.WaitForSingleObject(event, kInfinite), kWaitObject0);
  signaller.join();
}

TEST(LinuxKernel, ClosedOrUnknownEventsFail) {
  LinuxKernel kernel;
  const Handle event = kernel.CreateEventA(kFalse, kTrue);
  kernel.CloseHandle(event);
  EXPECT_EQ(kernel.WaitForSingleObject(event, kInfinite), kWaitFailed);
  EXPECT_EQ(kernel.GetLastError(), kErrorInvalidHandle);
  EXPECT_EQ(kernel.SetEvent(event), kFalse);
  EXPECT_EQ(kernel.CloseHandle(event), kFalse);
}

TEST(LinuxKernel, LastErrorBelongsToEachThread) {
  LinuxKernel kernel;
  kernel.SetLastError(kErrorAccessDenied);
  Dword seenByOther = 99;
  std::thread other([&] {
    seenByOther = kernel.GetLastError();
    kernel.SetLastError(kErrorBusy);
  });
  other.join();
  EXPECT_EQ(seenByOther, kErrorSuccess);
  EXPECT_EQ(kernel.GetLastError(), kErrorAccessDenied);
}

TEST(LinuxKernel, GlobalMemoryIsZeroedAndFreedOnce) {
  LinuxKernel kernel;
  const Handle memory = kernel.GlobalAlloc(kGmemFixed | kGmemZeroInit, 0x50000);
  ASSERT_NE(memory, kNullHandle);
  auto* bytes = static_cast<Byte*>(kernel.GlobalLock(memory));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[0x4FFFF], 0);
  EXPECT_EQ(kernel.GlobalUnlock(memory), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorSuccess);
  EXPECT_EQ(kernel.GlobalFree(memory), kNullHandle);
  EXPECT_EQ(kernel.GlobalFree(memory), memory);
  EXPECT_EQ(kernel.GetLastError(), kErrorInvalidHandle);
  EXPECT_EQ(kernel.GlobalLock(memory), nullptr);
}

TEST(LinuxKernel, FormatMessageUsesTheSystemTexts) {
  LinuxKernel kernel;
  char text[128] = {};
  EXPECT_EQ(kernel.FormatMessageA(kFormatMessageFromSystem, nullptr, kErrorSemTimeout, 0, text,
                                  sizeof text),
            std::strlen("The semaphore timeout period has expired.\r\n"));
  EXPECT_STREQ(text, "The semaphore timeout period has expired.\r\n");
  EXPECT_EQ(kernel.FormatMessageA(kFormatMessageFromSystem, nullptr, 0xDEAD, 0, text, sizeof text),
            0u);
  EXPECT_EQ(kernel.GetLastError(), kErrorMrMidNotFound);
}

TEST(LinuxKernel, VersionNeedsTheRecordSize) {
  LinuxKernel kernel;
  OsVersionInfoA info;
  EXPECT_EQ(sizeof info, 148u);
  EXPECT_EQ(kernel.GetVersionExA(&info), kTrue);
  EXPECT_EQ(info.dwPlatformId, kVerPlatformWin32Nt);
  EXPECT_EQ(std::string(info.szCSDVersion).rfind("Linux ", 0), 0u);
  info.dwOSVersionInfoSize = 20;
  EXPECT_EQ(kernel.GetVersionExA(&info), kFalse);
}

TEST(SystemReport, KernelReleaseGivesVersionAndCsdText) {
  OsVersionInfoA info;
  FillVersionInfo("6.1.0-18-amd64", &info);
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwBuildNumber, 0u);
  EXPECT_EQ(info.dwPlatformId, kVerPlatformWin32Nt);
  EXPECT_STREQ(info.szCSDVersion, "Linux 6.1.0-18-amd64");

  FillVersionInfo("5.15.133" + std::string(200, 'x'), &info);
  EXPECT_EQ(info.dwBuildNumber, 133u);
  EXPECT_EQ(std::strlen(info.szCSDVersion), sizeof info.szCSDVersion - 1);

  const KernelRelease odd = ParseKernelRelease("rolling");
  EXPECT_EQ(odd.major + odd.minor + odd.patch, 0u);
  EXPECT_EQ(ParseKernelRelease("4.19").minor, 19u);
}

TEST(SystemReport, X86ReportsFamilyModelAndStepping) {
  const char* cpuinfo =
      "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\n"
      "model name\t: Some CPU @ 3.00GHz\nmodel\t\t: 158\nstepping\t: 10\n";
  SystemInfo info;
  FillProcessorInfo("x86_64", cpuinfo, &info);
  EXPECT_EQ(info.wProcessorArchitecture, kProcessorArchitectureIntel);
  EXPECT_EQ(info.wProcessorLevel, 6);
  EXPECT_EQ(info.wProcessorRevision, 0x9E0A);
  EXPECT_EQ(info.dwProcessorType, kProcessorIntelPentium);

  FillProcessorInfo("i486", "cpu family\t: 4\nmodel\t\t: 8\nstepping\t: 0\n", &info);
  EXPECT_EQ(info.wProcessorLevel, 4);
  EXPECT_EQ(info.dwProcessorType, kProcessorIntel486);
}

TEST(SystemReport, OtherMachinesMapToTheirArchitecture) {
  SystemInfo info;
  const struct {
    const char* machine;
    Word architecture;
  } cases[] = {
      {"aarch64", kProcessorArchitectureArm64}, {"armv7l", kProcessorArchitectureArm},
      {"ia64", kProcessorArchitectureIa64},     {"mips64", kProcessorArchitectureMips},
      {"ppc64le", kProcessorArchitecturePpc},   {"riscv64", kProcessorArchitectureUnknown}};
  for (const auto& c : cases) {
    FillProcessorInfo(c.machine, "cpu family\t: 6\n", &info);
    EXPECT_EQ(info.wProcessorArchitecture, c.architecture) << c.machine;
    EXPECT_EQ(info.wProcessorLevel, 0) << c.machine;
  }
}

TEST(SystemInfoComponent, ReportsNtPlatformKernelVersionAndPatchLevel) {
  LinuxSystemInfoComponentFactory factory("5.15.133-generic");
  auto component = factory.CreateSystemInfoComponent();
  ASSERT_NE(component, nullptr);
  Short platformId = 0;
  Short build = 0;
  float version = 0;
  EXPECT_EQ(component->get_OSPlatform(&platformId), kSOk);
  EXPECT_EQ(component->get_OSBuildNumber(&build), kSOk);
  EXPECT_EQ(component->get_OSVersion(&version), kSOk);
  EXPECT_EQ(platformId, 2);
  EXPECT_EQ(build, 133);
  EXPECT_FLOAT_EQ(version, 5.15f);
  EXPECT_FLOAT_EQ(KernelVersionNumber(6, 1), 6.1f);
  EXPECT_FLOAT_EQ(KernelVersionNumber(6, 0), 6.0f);
  EXPECT_EQ(component->get_OSVersion(nullptr), kEFail);
}

TEST(LinuxClock, AnyPeriodFromOneMillisecondIsAccepted) {
  LinuxClock clock;
  EXPECT_EQ(clock.timeBeginPeriod(0), kTimerrNoCanDo);
  EXPECT_EQ(clock.timeBeginPeriod(1), kTimerrNoError);
  EXPECT_EQ(clock.timeBeginPeriod(7), kTimerrNoError);
  EXPECT_EQ(clock.timeEndPeriod(1), kTimerrNoError);
}

TEST(LinuxPlatform, MalformedDriveMapIsRefusedWithItsName) {
  LinuxPlatformOptions options;
  options.drives = "D:/dev/sr0";
  std::string error;
  EXPECT_EQ(CreateLinuxPlatform(options, &error), nullptr);
  EXPECT_NE(error.find("DVDUTIL_DRIVES: entry \"D:/dev/sr0\""), std::string::npos) << error;

  options.drives = "D=/dev/sr0";
  auto platform = CreateLinuxPlatform(options, &error);
  ASSERT_NE(platform, nullptr);
  EXPECT_EQ(platform->PassThrough().CreateFileA("\\\\.\\E:", kGenericRead, 0, kOpenExisting, 0),
            kInvalidHandleValue);
  EXPECT_EQ(platform->Kernel32().GetLastError(), kErrorFileNotFound);
}

}  // namespace
}  // namespace platform
