// The start-up choice on Linux: the real system and its drive map.
#include <gtest/gtest.h>

#include <string>

#include "startup/startup_platform.h"
#include "tests/support/host_calls.h"

namespace startup {
namespace {

TEST(StartupPlatform, MalformedDriveMapStopsTheRealSystem) {
  testsupport::SetEnvironment(kMachineEnvironmentVariable, nullptr);
  testsupport::SetEnvironment("DVDUTIL_DRIVES", "D=/dev/sr0,,E=/dev/sr1");
  std::string error;
  EXPECT_EQ(OpenStartupPlatform(&error), nullptr);
  testsupport::SetEnvironment("DVDUTIL_DRIVES", nullptr);
  EXPECT_NE(error.find("DVDUTIL_DRIVES"), std::string::npos) << error;
}

TEST(StartupPlatform, WithoutMachineFileTheRealSystemServes) {
  testsupport::SetEnvironment(kMachineEnvironmentVariable, nullptr);
  testsupport::SetEnvironment("DVDUTIL_DRIVES", nullptr);
  std::string error;
  auto platform = OpenStartupPlatform(&error);
  ASSERT_NE(platform, nullptr) << error;
  platform::OsVersionInfoA info;
  EXPECT_EQ(platform->Kernel32().GetVersionExA(&info), platform::kTrue);
  EXPECT_EQ(std::string(info.szCSDVersion).rfind("Linux ", 0), 0u);
}

}  // namespace
}  // namespace startup
