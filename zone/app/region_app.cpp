// zonespti's Qt start-up.
#include "zone/app/region_app.h"

#include <QApplication>

#include "ui/qt_window_system.h"
#include "zone/app/pushed_look_style.h"
#include "zone/window/region_program.h"

namespace zone {

int RunQtRegionProgram(int argc, char** argv) {
  QApplication application(argc, argv);
  // The look's style outlives every window that uses it.
  QtPushedLook look;
  ui::QtWindowSystem windows;
  return RunRegionProgram(windows, &look);
}

}  // namespace zone
