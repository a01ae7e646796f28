// The start-up choice between an emulated machine and the real system.
#include "startup/startup_platform.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

namespace startup {
namespace {

TEST(StartupPlatform, UnreadableMachineFileIsNamedInTheError) {
  const std::string path = ::testing::TempDir() + "no-such-machine.json";
  ASSERT_EQ(::setenv(kMachineEnvironmentVariable, path.c_str(), 1), 0);
  std::string error;
  EXPECT_EQ(OpenStartupPlatform(&error), nullptr);
  ::unsetenv(kMachineEnvironmentVariable);
  EXPECT_NE(error.find(path), std::string::npos) << error;
}

TEST(StartupPlatform, MalformedDriveMapStopsTheRealSystem) {
  ::unsetenv(kMachineEnvironmentVariable);
  ASSERT_EQ(::setenv("DVDUTIL_DRIVES", "D=/dev/sr0,,E=/dev/sr1", 1), 0);
  std::string error;
  EXPECT_EQ(OpenStartupPlatform(&error), nullptr);
  ::unsetenv("DVDUTIL_DRIVES");
  EXPECT_NE(error.find("DVDUTIL_DRIVES"), std::string::npos) << error;
}

TEST(StartupPlatform, WithoutMachineFileTheRealSystemServes) {
  ::unsetenv(kMachineEnvironmentVariable);
  ::unsetenv("DVDUTIL_DRIVES");
  std::string error;
  auto platform = OpenStartupPlatform(&error);
  ASSERT_NE(platform, nullptr) << error;
  platform::OsVersionInfoA info;
  EXPECT_EQ(platform->Kernel32().GetVersionExA(&info), platform::kTrue);
  EXPECT_EQ(std::string(info.szCSDVersion).rfind("Linux ", 0), 0u);
}

}  // namespace
}  // namespace startup
