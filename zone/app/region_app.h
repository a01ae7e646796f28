// zonespti as a Qt program: QApplication, the Qt window system and the pushed
// look of the region choices around the shared start-up.
#pragma once

namespace zone {

int RunQtRegionProgram(int argc, char** argv);

}  // namespace zone
