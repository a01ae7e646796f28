// dvdspeed: the speed utility's operations from the command line, through the
// same sequences and the same drive table as pacespti (drive letter or node)
// and paceaspi (--aspi HA:ID).
#pragma once

#include <istream>
#include <ostream>

#include "tools/common/platform_opener.h"

namespace tools {

// `answers` null: no terminal to ask the spindle question on. Returns the exit status.
int RunDvdSpeed(int argc, const char* const* argv, const PlatformOpener& openPlatform,
                std::ostream& out, std::ostream& err, std::istream* answers);

}  // namespace tools
