// dvdregion: QueryRegion on a drive letter, and ChangeRegion with a choice the
// window would offer, through the console seams; printed as the window's status
// lines or, with --json, as the decoded state.
#pragma once

#include <istream>
#include <ostream>

#include "platform/platform.h"

namespace tools {

inline constexpr int kRegionExitOk = 0;
inline constexpr int kRegionExitCommandFailed = 1;  // a command (or the change) failed
inline constexpr int kRegionExitUsage = 2;          // bad arguments, drive or choice refused
inline constexpr int kRegionExitStartFailed = 3;    // the command layer could not start

// `answers` null: no terminal to ask on (the disc box answers Cancel).
int RunDvdRegion(int argc, const char* const* argv, platform::Platform& system, std::ostream& out,
                 std::ostream& err, std::istream* answers);

}  // namespace tools
