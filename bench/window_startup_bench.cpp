// Time from start-up to a shown updater window with its drive list, on the
// emulated demo machine (offscreen, fake clock, nothing written back).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>

#include "emulator/emulated_machine.h"
#include "flash/app/updater_app.h"

namespace {

std::string DemoMachineText() {
  std::ifstream file(DVDUTIL_DEMO_MACHINE);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void StartWindow(benchmark::State& state, const flash::AppVariant& variant) {
  const std::string machineText = DemoMachineText();
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  for (auto _ : state) {
    std::string error;
    auto machine = emu::EmulatedMachine::LoadText(machineText, "demo.json", options, &error);
    if (machine == nullptr) {
      state.SkipWithError(error.c_str());
      return;
    }
    flash::UpdaterApp app(variant, *machine);
    app.Messages().SetScripted(true);
    if (app.Start({}) != 0) {
      state.SkipWithError("start-up failed");
      return;
    }
    app.Frame().show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(app.Frame().View().Tree());
  }
}

void BM_FlashsptiWindowStartup(benchmark::State& state) {
  StartWindow(state, flash::AppVariant::Spti());
}
void BM_FlashaspiWindowStartup(benchmark::State& state) {
  StartWindow(state, flash::AppVariant::Aspi());
}
BENCHMARK(BM_FlashsptiWindowStartup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlashaspiWindowStartup)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTemporaryDir settingsHome;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsHome.path());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
