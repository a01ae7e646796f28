// The demo machine and an updater window shown on it, for the window benchmarks.
#include "bench/shown_updater.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

namespace bench {

std::string DemoMachineText() {
  std::ifstream file(DVDUTIL_DEMO_MACHINE);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool ShowUpdater(const flash::AppVariant& variant, bool fakeClock, ShownUpdater& shown,
                 std::string& error) {
  emu::MachineOptions options;
  options.fakeClock = fakeClock;
  options.readOnly = true;
  shown.app.reset();
  shown.machine = emu::EmulatedMachine::LoadText(DemoMachineText(), "demo.json", options, &error);
  if (shown.machine == nullptr) return false;
  shown.app = std::make_unique<flash::UpdaterApp>(variant, *shown.machine);
  shown.app->Messages().SetScripted(true);
  if (shown.app->Start({}) != 0) {
    error = "start-up failed";
    return false;
  }
  shown.app->Frame().show();
  QCoreApplication::processEvents();
  return true;
}

}  // namespace bench

// Offscreen unless a platform is named; settings go to a temporary folder.
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
