// The start-up choice between an emulated machine and the real system.
#include "startup/startup_platform.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/host_calls.h"

namespace startup {
namespace {

TEST(StartupPlatform, UnreadableMachineFileIsNamedInTheError) {
  const std::string path = ::testing::TempDir() + "no-such-machine.json";
  testsupport::SetEnvironment(kMachineEnvironmentVariable, path.c_str());
  std::string error;
  EXPECT_EQ(OpenStartupPlatform(&error), nullptr);
  testsupport::SetEnvironment(kMachineEnvironmentVariable, nullptr);
  EXPECT_NE(error.find(path), std::string::npos) << error;
}

}  // namespace
}  // namespace startup
