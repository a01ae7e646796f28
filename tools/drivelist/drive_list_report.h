// The drive lists the five programs would build on a platform, each listed
// drive identified against both updaters' supported-drive tables.
#pragma once

#include <ostream>

#include "platform/platform.h"

namespace tools {

// Prints every program's list; returns 0, or 2 when the platform failed
// (a device that cannot be opened for lack of access, a missing ASPI manager,
// memory) after printing what it could.
int ReportDriveLists(platform::Platform& system, std::ostream& out);

}  // namespace tools
