// The start-up choice on Windows: without a machine file the system itself
// answers, and its version record is the real one (the manifest says which
// versions the program knows, or Windows would report itself as 6.2).
#include <gtest/gtest.h>

#include <string>

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
  const bool pastEightCompatibility =
      info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion > 2);
  EXPECT_TRUE(pastEightCompatibility)
      << info.dwMajorVersion << "." << info.dwMinorVersion << ": the manifest is not in effect";

  platform::SystemInfo processor;
  platform->Kernel32().GetSystemInfo(&processor);
  EXPECT_GT(processor.dwNumberOfProcessors, 0u);
  EXPECT_GT(processor.dwPageSize, 0u);
}

}  // namespace
}  // namespace startup
