// The start-up choice on Windows: without a machine file the system itself
// answers, and its version record is the real one (the manifest says which
// versions the program knows, or Windows 8.1 and later report themselves as
// 6.2): GetVersionExA agrees with the kernel's own RtlGetVersion.
#include <gtest/gtest.h>

#include <string>

#include "platform/windows/win32.h"
#include "startup/startup_platform.h"
#include "tests/support/host_calls.h"

namespace startup {
namespace {

TEST(StartupPlatform, WithoutMachineFileWindowsItselfServes) {
  testsupport::SetEnvironment(kMachineEnvironmentVariable, nullptr);
  std::string error;
  auto platform = OpenStartupPlatform(&error);
  ASSERT_NE(platform, nullptr) << error;
  EXPECT_FALSE(platform->Native().Known()) << "the version record describes the system itself";

  platform::OsVersionInfoA info;
  EXPECT_EQ(info.dwOSVersionInfoSize, 148u);
  ASSERT_EQ(platform->Kernel32().GetVersionExA(&info), platform::kTrue);
  EXPECT_EQ(info.dwPlatformId, platform::kVerPlatformWin32Nt);
  using RtlGetVersionEntry = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionEntry>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtlGetVersion, nullptr);
  OSVERSIONINFOW kernel{};
  kernel.dwOSVersionInfoSize = sizeof(kernel);
  ASSERT_EQ(rtlGetVersion(&kernel), 0);
  EXPECT_EQ(info.dwMajorVersion, kernel.dwMajorVersion) << "the manifest is not in effect";
  EXPECT_EQ(info.dwMinorVersion, kernel.dwMinorVersion);
  EXPECT_EQ(info.dwBuildNumber, kernel.dwBuildNumber);

  // The manifest names Windows 10 and 11 among the supported systems.
  const HRSRC manifest = ::FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(manifest, nullptr);
  const std::string text(
      static_cast<const char*>(::LockResource(::LoadResource(nullptr, manifest))),
      ::SizeofResource(nullptr, manifest));
  EXPECT_NE(text.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);

  platform::SystemInfo processor;
  platform->Kernel32().GetSystemInfo(&processor);
  EXPECT_GT(processor.dwNumberOfProcessors, 0u);
  EXPECT_GT(processor.dwPageSize, 0u);
}

}  // namespace
}  // namespace startup
