// LaunchTool through a scripted process service: the tool table per platform
// with its creation flags and command lines, what CreateProcessA gets, the
// wait and the handles, the refusal of other platforms and the failure texts.
#include <gtest/gtest.h>

#include "launcher/launcher.h"
#include "platform/win_errors.h"
#include "tests/support/fake_launcher.h"

namespace launcher {
namespace {

using platform::Dword;

struct ToolCase {
  Dword platformId;
  Tool tool;
  const char* commandLine;
  Dword creationFlags;
};

class LaunchToolTest : public ::testing::Test {
 protected:
  void Boot(Dword platformId, Dword major = 4, Dword minor = 10, Dword build = 0x040A08AE) {
    system.launcherKernel.version.dwPlatformId = platformId;
    system.launcherKernel.version.dwMajorVersion = major;
    system.launcherKernel.version.dwMinorVersion = minor;
    system.launcherKernel.version.dwBuildNumber = build;
    launcher.CaptureSystem();
  }

  testsupport::FakeLauncherPlatform system;
  Launcher launcher{system};
  testsupport::FakeLauncherUi ui;
};

TEST_F(LaunchToolTest, EachButtonStartsTheBuildOfItsPlatformFamilyWithItsFlags) {
  const ToolCase cases[] = {
      {1, Tool::kUpdate, "flashaspi.EXE", 0x04000000},
      {1, Tool::kRegion, "zoneaspi.EXE", 0x04000000},
      {1, Tool::kSpeed, "paceaspi.EXE", 0x04000000},
      {2, Tool::kUpdate, "flashspti.EXE", 0},
      {2, Tool::kRegion, "zonespti.EXE", 0},
      {2, Tool::kSpeed, "pacespti.EXE", 0},
  };
  for (const ToolCase& toolCase : cases) {
    testsupport::FakeLauncherPlatform caseSystem;
    caseSystem.launcherKernel.version.dwPlatformId = toolCase.platformId;
    Launcher caseLauncher(caseSystem);
    caseLauncher.CaptureSystem();
    testsupport::FakeLauncherUi caseUi;
    caseLauncher.LaunchTool(toolCase.tool, caseUi);

    ASSERT_EQ(caseSystem.processes.starts.size(), 1u) << toolCase.commandLine;
    const testsupport::RecordedStart& start = caseSystem.processes.starts[0];
    EXPECT_EQ(start.commandLine, toolCase.commandLine);
    EXPECT_EQ(start.creationFlags, toolCase.creationFlags) << toolCase.commandLine;
    EXPECT_FALSE(start.applicationNameGiven);
    EXPECT_FALSE(start.securityGiven);
    EXPECT_EQ(start.inheritHandles, platform::kFalse);
    EXPECT_FALSE(start.environmentGiven);
    EXPECT_FALSE(start.currentDirectoryGiven);
    EXPECT_TRUE(caseUi.messages.empty()) << caseUi.messages.front();
  }
}

TEST_F(LaunchToolTest, ToolGetsTheLaunchersStartupSettingsInItsOwnReusedRecords) {
  Boot(2, 5, 0, 2195);
  launcher.LaunchTool(Tool::kSpeed, ui);
  launcher.LaunchTool(Tool::kSpeed, ui);
  launcher.LaunchTool(Tool::kUpdate, ui);
  const auto& starts = system.processes.starts;
  ASSERT_EQ(starts.size(), 3u);
  EXPECT_EQ(system.processes.startupInfoCalls, 3);
  EXPECT_EQ(starts[0].startupSeen.dwFlags, testsupport::FakeProcessService::kStartupFlags);
  EXPECT_EQ(starts[0].startupSeen.wShowWindow, testsupport::FakeProcessService::kShowWindow);
  EXPECT_EQ(starts[0].startupInfo, &launcher.Records(Tool::kSpeed).startup);
  EXPECT_EQ(starts[0].processInformation, &launcher.Records(Tool::kSpeed).process);
  EXPECT_EQ(starts[1].startupInfo, starts[0].startupInfo);
  EXPECT_EQ(starts[2].processInformation, &launcher.Records(Tool::kUpdate).process);
  EXPECT_NE(starts[2].processInformation, starts[0].processInformation);
}

TEST_F(LaunchToolTest, StartedToolIsWaitedForWithoutTimeOutThenItsHandlesAreClosed) {
  Boot(2, 5, 0, 2195);
  launcher.LaunchTool(Tool::kUpdate, ui);
  const platform::ProcessInformation& process = launcher.Records(Tool::kUpdate).process;
  EXPECT_EQ(ui.waitsForTool, 1);
  ASSERT_EQ(system.launcherKernel.waits.size(), 1u);
  EXPECT_EQ(system.launcherKernel.waits[0].event, process.hProcess);
  EXPECT_EQ(system.launcherKernel.waits[0].milliseconds, platform::kInfinite);
  EXPECT_EQ(system.launcherKernel.closedEvents,
            (std::vector<platform::Handle>{process.hThread, process.hProcess}));
  EXPECT_TRUE(system.launcherKernel.signalled.empty()) << "a handle was left open";
}

TEST_F(LaunchToolTest, OtherPlatformIsRefusedWithItsNumbersAndNothingStarts) {
  Boot(3, 4, 90, 0x045A0BB8);
  launcher.LaunchTool(Tool::kRegion, ui);
  EXPECT_TRUE(system.processes.starts.empty());
  EXPECT_EQ(ui.waitsForTool, 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0],
            "This platform is not supported.\r\nPlatform #3\r\nVersion : 4.90.00003000");
  EXPECT_EQ(ui.styles[0], kMbOk);

  ui.messages.clear();
  Boot(0, 3, 1, 511);
  launcher.LaunchTool(Tool::kUpdate, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0],
            "This platform is not supported.\r\nPlatform #0\r\nVersion : 3.01.00000511");
}

TEST_F(LaunchToolTest, FailedStartShowsTheSystemTextForItsErrorAndWaitsForNothing) {
  Boot(1);
  const std::pair<Dword, const char*> failures[] = {
      {platform::kErrorFileNotFound, "The system cannot find the file specified.\r\n"},
      {platform::kErrorAccessDenied, "Access is denied.\r\n"},
      {platform::kErrorBadFormat,
       "An attempt was made to load a program with an incorrect format.\r\n"},
  };
  for (const auto& [error, text] : failures) {
    system.processes.failWith = error;
    ui.messages.clear();
    launcher.LaunchTool(Tool::kRegion, ui);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], text);
  }
  EXPECT_EQ(ui.waitsForTool, 0);
  EXPECT_TRUE(system.launcherKernel.closedEvents.empty());
  const auto& call = system.launcherKernel.formatCalls.back();
  EXPECT_EQ(call.flags, platform::kFormatMessageFromSystem);
  EXPECT_EQ(call.id, platform::kErrorBadFormat);
  EXPECT_EQ(call.language, 0x0400u);
  EXPECT_EQ(call.size, 128u);
}

TEST_F(LaunchToolTest, ErrorWithoutSystemTextShowsTheFormatFailureWithTheNewError) {
  Boot(2, 5, 0, 2195);
  system.processes.failWith = 9999;
  launcher.LaunchTool(Tool::kSpeed, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Format message failed.  Error: 317\n");
}

}  // namespace
}  // namespace launcher
