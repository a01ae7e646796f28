// toolgate's window on the Win32 host starting a real program with
// CreateProcessA: the .exe beside it (here a probe beside this test), started
// by its bare name, waited for, and the window answers again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "emulator/emulated_machine.h"
#include "launcher/launcher.h"
#include "launcher/window/launcher_program.h"
#include "launcher/window/launcher_window.h"
#include "platform/windows/windows_processes.h"
#include "resources/launcher/launcher_dialogs.h"
#include "resources/launcher/launcher_resource_ids.h"
#include "tests/window/window_test_host.h"
#include "ui/win32/win32_api.h"

namespace launcher {
namespace {

constexpr char kNtMachine[] = R"({"platform": {"platformId": 2, "majorVersion": 5,
  "minorVersion": 0, "buildNumber": 2195}, "devices": []})";

std::filesystem::path OwnFolder() {
  char self[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  return std::filesystem::path(std::string(self, length)).parent_path();
}

TEST(LauncherWin32Start, ToolBesideTheProgramIsStartedByItsBareNameAndWaitedFor) {
  const std::filesystem::path marker = OwnFolder() / "started-as.txt";
  std::filesystem::remove(marker);
  emu::MachineOptions options;
  options.readOnly = true;
  options.processes = [](platform::Kernel& kernel) {
    return std::make_unique<platform::WindowsProcessService>(kernel);
  };
  std::string error;
  auto machine = emu::EmulatedMachine::LoadText(kNtMachine, "nt.json", options, &error);
  ASSERT_NE(machine, nullptr) << error;
  Launcher launcher(*machine);
  launcher.CaptureSystem();
  LauncherWindow logic(launcher, window_test::System());
  const std::unique_ptr<ui::OpenWindow> window =
      window_test::System().Open(resources::LauncherDialogTemplate(), logic);
  const std::unique_ptr<window_test::WindowDriver> driver = window_test::Drive(*window);

  driver->Press(resources::kIdcLauncherSpeed);
  // The press returned: the tool has ended, and the window goes on.
  std::string startedAs;
  std::getline(std::ifstream(marker), startedAs);
  EXPECT_EQ(startedAs, "pacespti.EXE");
  EXPECT_TRUE(driver->Messages().empty());
  EXPECT_TRUE(driver->IsOpen());
  driver->Press(resources::kIdcLauncherExit);
  EXPECT_FALSE(driver->IsOpen());
  std::filesystem::remove(marker);
}

}  // namespace
}  // namespace launcher
