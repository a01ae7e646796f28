// toolgate's Qt start-up.
#include "launcher/app/launcher_app.h"

#include <QApplication>

#include "launcher/window/launcher_program.h"
#include "resources/launcher/launcher_strings.h"
#include "ui/qt_window_system.h"

namespace launcher {

int RunQtLauncherProgram(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(resources::kLauncherApplicationTitle));
  ui::QtWindowSystem windows(resources::kLauncherApplicationTitle);
  return RunLauncherProgram(windows);
}

}  // namespace launcher
