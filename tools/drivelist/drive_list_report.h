// The drive lists the five programs would build on a platform, each listed
// drive identified against both updaters' supported-drive tables.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "drvcmd/transport.h"
#include "platform/platform.h"

namespace tools {

// Prints every program's list; returns 0, or 1 when the platform failed
// (a device that cannot be opened for lack of access, a missing ASPI manager,
// memory) after printing what it could. `report`, when given, receives the
// same as JSON; `observer` is told of every command sent (-v): {"accessProblems", "programs":
// [{"program", "shape", "started", "messages", "drives": [...]}], "ok"}.
int ReportDriveLists(platform::Platform& system, std::ostream& out,
                     nlohmann::json* report = nullptr, drvcmd::RequestObserver* observer = nullptr);

}  // namespace tools
