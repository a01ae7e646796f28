// Picks the platform once at start-up: the emulated machine named by
// DVDUTIL_MACHINE, otherwise the real system.
#pragma once

#include <memory>
#include <string>

#include "platform/diagnostics.h"
#include "platform/platform.h"

namespace startup {

inline constexpr char kMachineEnvironmentVariable[] = "DVDUTIL_MACHINE";

// Null with a message naming the machine file when it cannot be loaded, or
// naming DVDUTIL_DRIVES when its drive map is malformed. diagnostics: where
// the real system tells why a drive cannot be reached (standard error when
// empty).
std::unique_ptr<platform::Platform> OpenStartupPlatform(
    std::string* error, const platform::DiagnosticSink& diagnostics = {});

}  // namespace startup
