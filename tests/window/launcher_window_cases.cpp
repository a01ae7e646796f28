// toolgate's window through whichever window host this test binary has: the
// report in its box, the buttons' texts, the About box from the system menu
// and the button, the tool buttons (a started tool waited for, a missing one
// and an unknown platform reported) and the ways the window ends.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "emulator/emulated_machine.h"
#include "launcher/launcher.h"
#include "launcher/window/launcher_program.h"
#include "launcher/window/launcher_window.h"
#include "resources/launcher/launcher_dialogs.h"
#include "resources/launcher/launcher_resource_ids.h"
#include "tests/support/fake_launcher.h"
#include "tests/support/window_test_machine.h"
#include "tests/window/window_test_host.h"

namespace launcher {
namespace {

namespace ids = resources;

constexpr char kNtMachine[] = R"({"platform": {"platformId": 2, "majorVersion": 5,
  "minorVersion": 0, "buildNumber": 2195, "csdVersion": "Service Pack 4",
  "processorArchitecture": 0, "processorLevel": 6, "processorRevision": "0x0803"},
  "devices": []})";
constexpr char kOlderMachine[] = R"({"platform": {"platformId": 1, "majorVersion": 4,
  "minorVersion": 10, "buildNumber": "0x040A08AE", "processorLevel": 5,
  "processorRevision": "0x020C"}, "devices": []})";
constexpr char kUnknownPlatformMachine[] = R"({"platform": {"platformId": 3, "majorVersion": 1,
  "minorVersion": 2, "buildNumber": 77}, "devices": []})";

constexpr char kFileNotFound[] = "The system cannot find the file specified.\r\n";
constexpr char kAboutCaption[] = "About DVD-ROM Utilities Launcher";

// The launcher's window on a platform, opened by this binary's window system.
class OpenLauncher {
 public:
  explicit OpenLauncher(platform::Platform& system) : launcher(system) {
    SetUpLauncherWindows(window_test::System());
    launcher.CaptureSystem();
    window = window_test::System().Open(resources::LauncherDialogTemplate(), logic);
    driver = window_test::Drive(*window);
  }

  Launcher launcher;
  LauncherWindow logic{launcher, window_test::System()};
  std::unique_ptr<ui::OpenWindow> window;
  std::unique_ptr<window_test::WindowDriver> driver;
};

// The launcher on an emulated machine whose process service finds no program.
class OpenLauncherOnMachine {
 public:
  explicit OpenLauncherOnMachine(const char* machineJson)
      : machine(testsupport::LoadWindowTestMachine(machineJson)), open(*machine) {}

  window_test::WindowDriver& Window() { return *open.driver; }

  std::unique_ptr<emu::EmulatedMachine> machine;
  OpenLauncher open;
};

TEST(LauncherWindowCases, ReportAndButtonTextsAreShown) {
  OpenLauncherOnMachine launcher(kOlderMachine);
  EXPECT_EQ(launcher.Window().Text(ids::kIdcLauncherReport),
            "[Processor information]\r\nIntel Pentium/Pentium MMX Processor : Revision 020ch\r\n"
            "\r\n[OS information]\r\nWindows 98 Second Edition (Build 4.10.2222)\r\n");
  const std::pair<int, const char*> buttons[] = {
      {ids::kIdcLauncherUpdate, "Update Utility"},
      {ids::kIdcLauncherRegion, "Region Information Utility"},
      {ids::kIdcLauncherSpeed, "Speed Control Utility"},
      {ids::kIdcLauncherAbout, "About DVD Utility Controller"},
      {ids::kIdcLauncherExit, "Exit"},
  };
  for (const auto& [id, text] : buttons) {
    EXPECT_EQ(launcher.Window().Text(id), text) << id;
    EXPECT_TRUE(launcher.Window().Enabled(id)) << id;
  }
  EXPECT_TRUE(launcher.Window().Messages().empty());
}

TEST(LauncherWindowCases, SystemMenuAndAboutButtonOpenTheAboutBoxCloseEndsTheWindow) {
  OpenLauncherOnMachine launcher(kNtMachine);
  launcher.Window().SystemCommand(static_cast<int>(ids::kIdmLauncherAbout));
  launcher.Window().Press(ids::kIdcLauncherAbout);
  EXPECT_EQ(launcher.Window().ModalCaptions(),
            (std::vector<std::string>{kAboutCaption, kAboutCaption}));
  EXPECT_TRUE(launcher.Window().IsOpen());
  launcher.Window().SystemCommand(ui::kSysClose);
  EXPECT_FALSE(launcher.Window().IsOpen());
  EXPECT_EQ(launcher.open.window->Result(), ui::kIdCancel);
}

TEST(LauncherWindowCases, ExitEndsTheWindow) {
  OpenLauncherOnMachine launcher(kNtMachine);
  launcher.Window().Press(ids::kIdcLauncherExit);
  EXPECT_FALSE(launcher.Window().IsOpen());
  EXPECT_EQ(launcher.open.window->Result(), ui::kIdOk);
  EXPECT_TRUE(launcher.Window().ModalCaptions().empty());
}

TEST(LauncherWindowCases, StartedToolIsWaitedForAndTheWindowGoesOn) {
  const struct {
    platform::Dword platformId;
    const char* commandLine;
    platform::Dword flags;
  } families[] = {
      {2, "pacespti.EXE", 0},
      {1, "paceaspi.EXE", platform::kCreateDefaultErrorMode},
  };
  for (const auto& family : families) {
    testsupport::FakeLauncherPlatform system;
    system.launcherKernel.version.dwPlatformId = family.platformId;
    OpenLauncher launcher(system);
    launcher.driver->Press(ids::kIdcLauncherSpeed);
    ASSERT_EQ(system.processes.starts.size(), 1u);
    EXPECT_EQ(system.processes.starts[0].commandLine, family.commandLine);
    EXPECT_EQ(system.processes.starts[0].creationFlags, family.flags);
    EXPECT_TRUE(launcher.driver->Messages().empty());
    EXPECT_TRUE(launcher.driver->IsOpen());
    // The tool ended: its handles were closed.
    const platform::ProcessInformation& process = launcher.launcher.Records(Tool::kSpeed).process;
    EXPECT_EQ(system.launcherKernel.CloseHandle(process.hProcess), platform::kFalse);
  }
}

TEST(LauncherWindowCases, MissingToolShowsTheSystemsTextAndTheWindowGoesOn) {
  OpenLauncherOnMachine launcher(kOlderMachine);
  launcher.Window().Press(ids::kIdcLauncherRegion);
  ASSERT_EQ(launcher.Window().Messages().size(), 1u);
  EXPECT_EQ(launcher.Window().Messages()[0].text, kFileNotFound);
  EXPECT_EQ(launcher.Window().Messages()[0].caption, "toolgate");
  EXPECT_EQ(launcher.Window().Messages()[0].style, kMbOk);
  EXPECT_TRUE(launcher.Window().IsOpen());
  launcher.Window().Press(ids::kIdcLauncherUpdate);
  EXPECT_EQ(launcher.Window().Messages().size(), 2u);
}

TEST(LauncherWindowCases, UnknownPlatformIsRefusedFromTheButton) {
  OpenLauncherOnMachine launcher(kUnknownPlatformMachine);
  launcher.Window().Press(ids::kIdcLauncherSpeed);
  ASSERT_EQ(launcher.Window().Messages().size(), 1u);
  EXPECT_EQ(launcher.Window().Messages()[0].text,
            "This platform is not supported.\r\nPlatform #3\r\nVersion : 1.02.00000077");
  EXPECT_TRUE(launcher.Window()
                  .Text(ids::kIdcLauncherReport)
                  .ends_with("[OS information]\r\nUnknown platform\r\n"));
}

}  // namespace
}  // namespace launcher
