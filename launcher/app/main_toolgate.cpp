// toolgate: the suite's launcher.
#include "launcher/app/launcher_app.h"

int main(int argc, char** argv) { return launcher::RunLauncherProgram(argc, argv); }
