// toolgate from start-up to exit: QApplication, platform choice, the captured
// system records and the modal LauncherDialog.
#pragma once

namespace launcher {

int RunLauncherProgram(int argc, char** argv);

}  // namespace launcher
