// The speed utilities' Qt start-up.
#include "pace/app/speed_app.h"

#include <QApplication>

#include "pace/app/speed_decoration.h"
#include "pace/window/speed_program.h"
#include "ui/qt_window_system.h"

namespace pace {

int RunQtSpeedProgram(int argc, char** argv, const SpeedWindowVariant& variant) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(variant.procedure.applicationTitle));
  ui::QtWindowSystem windows(variant.procedure.applicationTitle);
  return RunSpeedProgram(windows, variant, [&variant](ui::OpenWindow& window) {
    DecorateSpeedWindow(window, variant);
  });
}

}  // namespace pace
