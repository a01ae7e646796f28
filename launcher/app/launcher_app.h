// toolgate as a Qt program: QApplication and the Qt window system around the
// shared start-up.
#pragma once

namespace launcher {

int RunQtLauncherProgram(int argc, char** argv);

}  // namespace launcher
