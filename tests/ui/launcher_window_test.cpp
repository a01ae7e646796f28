// toolgate's windows offscreen on emulated machines: the templates as built,
// the report in its box, the system menu and About box, and real tools
// started from the buttons: the launcher refuses input while one runs, answers
// again once it has ended, and shows the system's text when one is missing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
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
#include "launcher/app/launcher_about_dialog.h"
#include "launcher/app/launcher_dialog.h"
#include "launcher/system_report.h"
#include "platform/linux/linux_processes.h"
#include "platform/win_errors.h"
#include "resources/launcher/launcher_resource_ids.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_units.h"

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
constexpr char kUnknownPlatformMachine[] = R"({"platform": {"platformId": 3, "majorVersion": 1,
  "minorVersion": 2, "buildNumber": 77}, "devices": []})";

// The launcher on an emulated machine with a fake clock, whose programs are
// looked for in one folder only.
class LauncherWindow {
 public:
  LauncherWindow(const char* machineJson, const fs::path& programs) {
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
    messages.SetScripted(true);
    dialog = std::make_unique<LauncherDialog>(*launcher, messages);
    messages.SetOwner(dialog.get());
    dialog->show();
  }
  QPushButton* Button(int id) const { return ui::FindControl<QPushButton>(dialog.get(), id); }

  std::unique_ptr<emu::EmulatedMachine> machine;
  std::unique_ptr<Launcher> launcher;
  ui::MessageBoxService messages{"toolgate"};
  std::unique_ptr<LauncherDialog> dialog;
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
  LauncherWindow window(kNtMachine, programs);
  const LauncherDialog& dialog = *window.dialog;
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

TEST_F(LauncherWindowTest, ReportOfTheMachineIsInTheBox) {
  LauncherWindow window(kOlderMachine, programs);
  auto* report =
      ui::FindControl<QPlainTextEdit>(window.dialog.get(), resources::kIdcLauncherReport);
  EXPECT_EQ(report->toPlainText(),
            "[Processor information]\nIntel Pentium/Pentium MMX Processor : Revision 020ch\n"
            "\n[OS information]\nWindows 98 Second Edition (Build 4.10.2222)\n");
}

TEST_F(LauncherWindowTest, SystemMenuAndAboutButtonOpenTheAboutBox) {
  LauncherWindow window(kNtMachine, programs);
  const QList<QAction*> items = window.dialog->SystemMenu().actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_EQ(items[2]->text(), "&About toolgate...");
  EXPECT_EQ(items[2]->data().toUInt(), 0x10u);

  for (int round = 0; round < 2; ++round) {
    QString caption, family, text;
    QTimer::singleShot(0, [&] {
      QWidget* about = QApplication::activeModalWidget();
      ASSERT_NE(qobject_cast<LauncherAboutDialog*>(about), nullptr);
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
  EXPECT_TRUE(window.dialog->isVisible());
  items[0]->trigger();  // the system menu's Close
  EXPECT_FALSE(window.dialog->isVisible());
}

TEST_F(LauncherWindowTest, RefusesInputWhileAToolRunsAndAnswersAgainOnceItEnds) {
  const fs::path release = programs / "release";
  WriteWaitingTool("flashspti", release);
  LauncherWindow window(kNtMachine, programs);
  QPushButton* update = window.Button(resources::kIdcLauncherUpdate);
  QPushButton* region = window.Button(resources::kIdcLauncherRegion);

  bool ranDuringWait = false;
  std::size_t messagesDuringWait = 1;
  bool shownAndEnabled = false;
  QTimer::singleShot(300, [&] {
    // Inside the click on "Update Utility": the tool runs, the launcher waits.
    QTest::mouseClick(region, Qt::LeftButton);
    QTest::keyClick(window.dialog.get(), Qt::Key_Escape);
    // The close box: the window system asks the window to close.
    QCloseEvent closeBox;
    QCoreApplication::sendEvent(window.dialog->windowHandle(), &closeBox);
    QCoreApplication::processEvents();
    messagesDuringWait = window.messages.Recorded().size();
    shownAndEnabled = window.dialog->isVisible() && window.dialog->isEnabled();
    ranDuringWait = true;
    std::ofstream(release) << "go";
  });
  QTest::mouseClick(update, Qt::LeftButton);

  ASSERT_TRUE(ranDuringWait) << "the click returned before the tool ended";
  EXPECT_EQ(messagesDuringWait, 0u) << "a click was answered while the tool ran";
  EXPECT_TRUE(shownAndEnabled);
  QCoreApplication::processEvents();
  EXPECT_TRUE(window.dialog->isVisible())
      << "Escape or the close box was answered while the tool ran";
  EXPECT_TRUE(window.messages.Recorded().empty()) << "input was kept for later";

  // Answers again: zonespti is not there.
  QTest::mouseClick(region, Qt::LeftButton);
  ASSERT_EQ(window.messages.Recorded().size(), 1u);
  EXPECT_EQ(window.messages.Recorded()[0].text, "The system cannot find the file specified.\r\n");
  EXPECT_EQ(window.messages.Recorded()[0].caption, "toolgate");

  // The ended tool's handles were closed.
  const platform::ProcessInformation& process = window.launcher->Records(Tool::kUpdate).process;
  EXPECT_EQ(window.machine->Kernel32().CloseHandle(process.hProcess), platform::kFalse);
  EXPECT_EQ(window.machine->Kernel32().CloseHandle(process.hThread), platform::kFalse);
}

TEST_F(LauncherWindowTest, StartedToolSeesItsOwnProgramNameNotTheWindowsOne) {
  fs::copy_file(DVDUTIL_NAME_PROBE, programs / "flashspti");
  fs::permissions(programs / "flashspti", fs::perms(0755));
  LauncherWindow window(kNtMachine, programs);
  window.Button(resources::kIdcLauncherUpdate)->click();
  std::string startedAs;
  std::getline(std::ifstream(programs / "started-as.txt"), startedAs);
  EXPECT_EQ(startedAs, "flashspti");
  EXPECT_TRUE(window.messages.Recorded().empty());
}

TEST_F(LauncherWindowTest, OlderFamilyRegionToolIsNotDeliveredSoItsStartFails) {
  const fs::path release = programs / "release";
  std::ofstream(release) << "go";
  WriteWaitingTool("zonespti", release);  // the NT build is there, the older one is not
  LauncherWindow window(kOlderMachine, programs);
  window.Button(resources::kIdcLauncherRegion)->click();
  ASSERT_EQ(window.messages.Recorded().size(), 1u);
  EXPECT_EQ(window.messages.Recorded()[0].text, "The system cannot find the file specified.\r\n");
  EXPECT_TRUE(window.dialog->isVisible());
}

TEST_F(LauncherWindowTest, UnknownPlatformIsRefusedFromTheButton) {
  LauncherWindow window(kUnknownPlatformMachine, programs);
  window.Button(resources::kIdcLauncherSpeed)->click();
  ASSERT_EQ(window.messages.Recorded().size(), 1u);
  EXPECT_EQ(window.messages.Recorded()[0].text,
            "This platform is not supported.\r\nPlatform #3\r\nVersion : 1.02.00000077");
  auto* report =
      ui::FindControl<QPlainTextEdit>(window.dialog.get(), resources::kIdcLauncherReport);
  EXPECT_TRUE(report->toPlainText().endsWith("[OS information]\nUnknown platform\n"));
}

TEST_F(LauncherWindowTest, ExitEndsTheDialog) {
  LauncherWindow window(kNtMachine, programs);
  QTimer::singleShot(0, [&] { window.Button(resources::kIdcLauncherExit)->click(); });
  EXPECT_EQ(window.dialog->exec(), QDialog::Accepted);
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
