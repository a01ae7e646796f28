// dvdregion: QueryRegion on a drive letter, and ChangeRegion with a choice the
// window would offer, through the console seams; printed as the window's status
// lines or, with --json, as the decoded state.
#pragma once

#include <istream>
#include <ostream>

#include "tools/common/command_line.h"
#include "tools/common/platform_opener.h"

namespace tools {

// `answers` null: no terminal to ask on (the disc box answers Cancel). Returns
// the exit status (kExit*): 1 when a command or the change failed, 2 for bad
// arguments, an unlisted drive or a region the window would not offer.
int RunDvdRegion(int argc, const char* const* argv, const PlatformOpener& openPlatform,
                 std::ostream& out, std::ostream& err, std::istream* answers);

}  // namespace tools
