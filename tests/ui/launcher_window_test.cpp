// toolgate's window on the Qt host, offscreen on emulated machines: the
// templates as built, the system menu and About box as widgets, and real
// tools started from the buttons: the launcher refuses input while one runs,
// answers again once it has ended. What the window does on every host is in
// tests/window/launcher_window_cases.cpp.
#include "launcher/window/launcher_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "emulator/emulated_machine.h"
#include "launcher/launcher.h"
#include "launcher/system_report.h"
#include "launcher/window/launcher_program.h"
#include "platform/linux/linux_processes.h"
#include "platform/win_errors.h"
#include "resources/launcher/launcher_dialogs.h"
#include "resources/launcher/launcher_resource_ids.h"
#include "resources/launcher/launcher_strings.h"
#include "tests/window/window_test_host.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_units.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_window_system.h"
#include "ui/system_menu.h"

namespace launcher {
namespace {

namespace fs = std::filesystem;

constexpr char kNtMachine[] = R"({"platform": {"platformId": 2, "majorVersion": 5,
  "minorVersion": 0, "buildNumber": 2195, "csdVersion": "Service Pack 4",
  "processorArchitecture": 0, "processorLevel": 6, "processorRevision": "0x0803"},
  "devices": []})";
constexpr char kOlderMachine[] = R"({"platform": {"platformId": 1, "majorVersion": 4,
  "minorVersion": 10, "buildNumber": "0x040A08AE", "processorLevel": 5,
  "processorRevision": "0x020C"}, "devices": []})";

// The launcher on an emulated machine with a fake clock, whose programs are
// looked for in one folder only, its window opened on `windows` (this test
// binary's scripted one unless given).
class QtLauncher {
 public:
  QtLauncher(const char* machineJson, const fs::path& programs,
             ui::WindowSystem& windows = window_test::System()) {
    emu::MachineOptions options;
    options.fakeClock = true;
    options.readOnly = true;
    options.processes = [programs](platform::Kernel& kernel) {
      return std::make_unique<platform::LinuxProcessService>(
          kernel, platform::ProgramSearch{programs.string(), ""});
    };
    std::string error;
    machine = emu::EmulatedMachine::LoadText(machineJson, "launcher.json", options, &error);
    EXPECT_NE(machine, nullptr) << error;
    launcher = std::make_unique<Launcher>(*machine);
    launcher->CaptureSystem();
    SetUpLauncherWindows(windows);
    logic = std::make_unique<LauncherWindow>(*launcher, windows);
    window = windows.Open(resources::LauncherDialogTemplate(), *logic);
    driver = window_test::Drive(*window);
  }
  ui::QtDialogHost& Dialog() const { return ui::QtWindowSystem::DialogOf(*window); }
  QPushButton* Button(int id) const { return ui::FindControl<QPushButton>(&Dialog(), id); }

  std::unique_ptr<emu::EmulatedMachine> machine;
  std::unique_ptr<Launcher> launcher;
  std::unique_ptr<LauncherWindow> logic;
  std::unique_ptr<ui::OpenWindow> window;
  std::unique_ptr<window_test::WindowDriver> driver;
};

class LauncherWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    programs = fs::path(::testing::TempDir()) /
               ("launcher-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(programs);
    fs::create_directories(programs);
  }
  void TearDown() override { fs::remove_all(programs); }

  // A tool that runs until `release` exists.
  void WriteWaitingTool(const std::string& name, const fs::path& release) {
    std::ofstream(programs / name)
        << "#!/bin/sh\nwhile [ ! -e '" << release.string() << "' ]; do sleep 0.02; done\n";
    fs::permissions(programs / name, fs::perms(0755));
  }

  fs::path programs;
};

QRect DuRect(const QWidget& dialog, int x, int y, int width, int height) {
  return ui::DialogRectToPixels(QRect(x, y, width, height), ui::BaseUnitsOf(dialog.font()));
}

TEST_F(LauncherWindowTest, DialogIsBuiltFromItsTemplate) {
  QtLauncher window(kNtMachine, programs);
  const QDialog& dialog = window.Dialog();
  EXPECT_EQ(dialog.windowTitle(), "DVD-ROM Utilities for Windows");
  EXPECT_EQ(dialog.font().family(), "MS Sans Serif");
  EXPECT_EQ(dialog.font().pointSize(), 8);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "the dialog must not be resizable";

  auto* report = ui::FindControl<QPlainTextEdit>(&dialog, resources::kIdcLauncherReport);
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(report->isReadOnly());
  EXPECT_EQ(report->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(report->size(), DuRect(dialog, 0, 0, 224, 85).size());

  const struct {
    int id;
    const char* text;
    int height;
  } buttons[] = {
      {resources::kIdcLauncherUpdate, "Update Utility", 28},
      {resources::kIdcLauncherRegion, "Region Information Utility", 28},
      {resources::kIdcLauncherSpeed, "Speed Control Utility", 28},
      {resources::kIdcLauncherAbout, "About DVD Utility Controller", 16},
      {resources::kIdcLauncherExit, "Exit", 17},
  };
  int previousBottom = report->geometry().bottom();
  for (const auto& expected : buttons) {
    QPushButton* button = window.Button(expected.id);
    ASSERT_NE(button, nullptr) << expected.text;
    EXPECT_EQ(button->text(), expected.text);
    EXPECT_EQ(button->size(), DuRect(dialog, 0, 0, 224, expected.height).size()) << expected.text;
    EXPECT_GT(button->geometry().top(), previousBottom) << "top to bottom: " << expected.text;
    previousBottom = button->geometry().bottom();
  }
}

TEST_F(LauncherWindowTest, SystemMenuAndAboutButtonOpenTheAboutBox) {
  // A window system that shows its modal dialogs, so the box can be read.
  ui::QtWindowSystem windows;
  QtLauncher window(kNtMachine, programs, windows);
  ASSERT_NE(window.Dialog().Menu(), nullptr);
  const QList<QAction*> items = window.Dialog().Menu()->Menu()->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), resources::kLauncherCloseMenuText);
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_EQ(items[2]->text(), "&About toolgate...");
  EXPECT_EQ(window.Dialog().Menu()->Action(0x10), items[2]);

  for (int round = 0; round < 2; ++round) {
    QString caption, family, text;
    QTimer::singleShot(0, [&] {
      QWidget* about = QApplication::activeModalWidget();
      ASSERT_NE(about, nullptr);
      ASSERT_NE(about, &window.Dialog());
      caption = about->windowTitle();
      family = about->font().family();
      text = ui::FindControl<QLabel>(about, resources::kIdcLauncherAboutText)->text();
      ui::FindControl<QPushButton>(about, ui::kIdControlOk)->click();
    });
    if (round == 0) {
      items[2]->trigger();
    } else {
      window.Button(resources::kIdcLauncherAbout)->click();
    }
    EXPECT_EQ(caption, "About DVD-ROM Utilities Launcher");
    EXPECT_EQ(family, "Arial Black");
    EXPECT_EQ(text, "DVD-ROM Utilities Launcher Ver1.00");
  }
  EXPECT_TRUE(window.Dialog().isVisible());
  items[0]->trigger();  // the system menu's Close
  EXPECT_FALSE(window.Dialog().isVisible());
}

TEST_F(LauncherWindowTest, RefusesInputWhileAToolRunsAndAnswersAgainOnceItEnds) {
  const fs::path release = programs / "release";
  WriteWaitingTool("flashspti", release);
  QtLauncher window(kNtMachine, programs);
  QPushButton* update = window.Button(resources::kIdcLauncherUpdate);
  QPushButton* region = window.Button(resources::kIdcLauncherRegion);

  bool ranDuringWait = false;
  std::size_t messagesDuringWait = 1;
  bool shownAndEnabled = false;
  QTimer::singleShot(300, [&] {
    // Inside the click on "Update Utility": the tool runs, the launcher waits.
    QTest::mouseClick(region, Qt::LeftButton);
    QTest::keyClick(&window.Dialog(), Qt::Key_Escape);
    // The close box: the window system asks the window to close.
    QCloseEvent closeBox;
    QCoreApplication::sendEvent(window.Dialog().windowHandle(), &closeBox);
    QCoreApplication::processEvents();
    messagesDuringWait = window.driver->Messages().size();
    shownAndEnabled = window.Dialog().isVisible() && window.Dialog().isEnabled();
    ranDuringWait = true;
    std::ofstream(release) << "go";
  });
  QTest::mouseClick(update, Qt::LeftButton);

  ASSERT_TRUE(ranDuringWait) << "the click returned before the tool ended";
  EXPECT_EQ(messagesDuringWait, 0u) << "a click was answered while the tool ran";
  EXPECT_TRUE(shownAndEnabled);
  QCoreApplication::processEvents();
  EXPECT_TRUE(window.Dialog().isVisible())
      << "Escape or the close box was answered while the tool ran";
  EXPECT_TRUE(window.window->IsOpen());
  EXPECT_TRUE(window.driver->Messages().empty()) << "input was kept for later";

  // Answers again: zonespti is not there.
  QTest::mouseClick(region, Qt::LeftButton);
  ASSERT_EQ(window.driver->Messages().size(), 1u);
  EXPECT_EQ(window.driver->Messages()[0].text, "The system cannot find the file specified.\r\n");
  EXPECT_EQ(window.driver->Messages()[0].caption, "toolgate");

  // The ended tool's handles were closed.
  const platform::ProcessInformation& process = window.launcher->Records(Tool::kUpdate).process;
  EXPECT_EQ(window.machine->Kernel32().CloseHandle(process.hProcess), platform::kFalse);
  EXPECT_EQ(window.machine->Kernel32().CloseHandle(process.hThread), platform::kFalse);
}

TEST_F(LauncherWindowTest, StartedToolSeesItsOwnProgramNameNotTheWindowsOne) {
  fs::copy_file(DVDUTIL_NAME_PROBE, programs / "flashspti");
  fs::permissions(programs / "flashspti", fs::perms(0755));
  QtLauncher window(kNtMachine, programs);
  window.Button(resources::kIdcLauncherUpdate)->click();
  std::string startedAs;
  std::getline(std::ifstream(programs / "started-as.txt"), startedAs);
  EXPECT_EQ(startedAs, "flashspti");
  EXPECT_TRUE(window.driver->Messages().empty());
}

TEST_F(LauncherWindowTest, OlderFamilyRegionToolIsNotDeliveredSoItsStartFails) {
  const fs::path release = programs / "release";
  std::ofstream(release) << "go";
  WriteWaitingTool("zonespti", release);  // the NT build is there, the older one is not
  QtLauncher window(kOlderMachine, programs);
  window.Button(resources::kIdcLauncherRegion)->click();
  ASSERT_EQ(window.driver->Messages().size(), 1u);
  EXPECT_EQ(window.driver->Messages()[0].text, "The system cannot find the file specified.\r\n");
  EXPECT_TRUE(window.Dialog().isVisible());
}

TEST(DemoMachines, BothFamiliesAreReportedAsTheyAre) {
  const std::pair<const char*, const char*> machines[] = {
      {"demo.json", "[OS information]\r\nWindows 2000 (Build 5.0.2195)\r\nService Pack 4\r\n"},
      {"demo98.json", "[OS information]\r\nWindows 98 Second Edition (Build 4.10.2222)\r\n"},
  };
  for (const auto& [file, osPart] : machines) {
    emu::MachineOptions options;
    options.readOnly = true;
    std::string error;
    auto machine = emu::EmulatedMachine::LoadFile(
        std::string(DVDUTIL_SOURCE_DIR "/emulator/machines/") + file, options, &error);
    ASSERT_NE(machine, nullptr) << error;
    Launcher launcher(*machine);
    launcher.CaptureSystem();
    const std::string report =
        SystemReport(launcher.Processor(), launcher.Version(), launcher.Native());
    EXPECT_TRUE(report.ends_with(osPart)) << file << ": " << report;
  }
}

TEST(EmulatedProcesses, MachineWithoutProgramsFindsNone) {
  std::string error;
  auto machine = emu::EmulatedMachine::LoadText(kNtMachine, "m.json", {}, &error);
  ASSERT_NE(machine, nullptr) << error;
  char line[] = "flashspti.EXE";
  platform::StartupInfoA startup;
  platform::ProcessInformation process;
  EXPECT_EQ(machine->Processes().CreateProcessA(nullptr, line, nullptr, nullptr, platform::kFalse,
                                                0, nullptr, nullptr, &startup, &process),
            platform::kFalse);
  EXPECT_EQ(machine->Kernel32().GetLastError(), platform::kErrorFileNotFound);
  EXPECT_FALSE(machine->Native().Known());
}

}  // namespace
}  // namespace launcher
