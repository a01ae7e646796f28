// The running Linux system's distribution (os-release) and kernel (uname).
#pragma once

#include <string>
#include <string_view>

#include "platform/native_system.h"

namespace platform {

// PRETTY_NAME of an os-release text (NAME when it has none), unquoted; empty
// when neither is given.
std::string DistributionFromOsRelease(std::string_view osRelease);

// /etc/os-release (or /usr/lib/os-release) and uname; "Linux" when no
// distribution names itself.
NativeSystem RunningNativeSystem();

}  // namespace platform
