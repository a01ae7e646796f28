// What toolgate costs: its resident memory with the dialog shown on the demo
// machine (budget: under 60 MB), and the processor time the launcher spends
// while it waits for a started tool that sleeps for two seconds (the wait
// sleeps on a helper thread and in the event loop, so it should be close to
// none). The tool is a shell script in a temporary folder; nothing is written
// back to the demo machine file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "bench/process_usage.h"
#include "emulator/emulated_machine.h"
#include "launcher/launcher.h"
#include "launcher/window/launcher_window.h"
#include "platform/linux/linux_processes.h"
#include "resources/launcher/launcher_dialogs.h"
#include "resources/launcher/launcher_resource_ids.h"
#include "ui/dialog_builder.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_window_system.h"

namespace {

constexpr double kKilobytesPerMegabyte = 1024.0;
constexpr char kSleepingTool[] = "#!/bin/sh\nexec sleep 2\n";

struct ShownLauncher {
  QTemporaryDir programs;
  std::unique_ptr<emu::EmulatedMachine> machine;
  std::unique_ptr<launcher::Launcher> launcher;
  ui::QtWindowSystem windows{"toolgate"};
  std::unique_ptr<launcher::LauncherWindow> logic;
  std::unique_ptr<ui::OpenWindow> window;
};

bool ShowLauncher(ShownLauncher& shown, std::string& error) {
  std::ifstream file(DVDUTIL_DEMO_MACHINE);
  std::ostringstream text;
  text << file.rdbuf();
  emu::MachineOptions options;
  options.readOnly = true;
  const std::string folder = shown.programs.path().toStdString();
  options.processes = [folder](platform::Kernel& kernel) {
    return std::make_unique<platform::LinuxProcessService>(kernel,
                                                           platform::ProgramSearch{folder, ""});
  };
  shown.machine = emu::EmulatedMachine::LoadText(text.str(), "demo.json", options, &error);
  if (shown.machine == nullptr) return false;
  shown.launcher = std::make_unique<launcher::Launcher>(*shown.machine);
  shown.launcher->CaptureSystem();
  shown.windows.SetScripted(true);
  shown.logic = std::make_unique<launcher::LauncherWindow>(*shown.launcher, shown.windows);
  shown.window = shown.windows.Open(resources::LauncherDialogTemplate(), *shown.logic);
  QCoreApplication::processEvents();
  return true;
}

void BM_ToolgateResidentMemory(benchmark::State& state) {
  const long before = bench::ResidentKilobytes();
  ShownLauncher shown;
  std::string error;
  if (!ShowLauncher(shown, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(shown.window->IsOpen());
  const long after = bench::ResidentKilobytes();
  state.counters["VmRSS_MB"] = static_cast<double>(after) / kKilobytesPerMegabyte;
  state.counters["window_growth_MB"] = static_cast<double>(after - before) / kKilobytesPerMegabyte;
}
BENCHMARK(BM_ToolgateResidentMemory)->Iterations(1);

// "Update Utility" starts flashspti, here a script that sleeps for two seconds.
void BM_ToolWaitProcessTime(benchmark::State& state) {
  ShownLauncher shown;
  std::string error;
  if (!ShowLauncher(shown, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::string tool = shown.programs.filePath("flashspti").toStdString();
  std::ofstream(tool) << kSleepingTool;
  QFile::setPermissions(QString::fromStdString(tool),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  auto* update = ui::FindControl<QPushButton>(&ui::QtWindowSystem::DialogOf(*shown.window),
                                              resources::kIdcLauncherUpdate);
  double used = 0.0;
  double waited = 0.0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = bench::ProcessCpuMilliseconds();
    update->click();  // returns when the tool has ended
    used = bench::ProcessCpuMilliseconds() - cpuStart;
    waited =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  if (!shown.windows.Messages().Recorded().empty()) {
    state.SkipWithError(shown.windows.Messages().Recorded().front().text.c_str());
  }
  state.counters["process_cpu_ms"] = used;
  state.counters["waited_ms"] = waited;
}
BENCHMARK(BM_ToolWaitProcessTime)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
