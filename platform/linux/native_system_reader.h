// The running Linux system's distribution (os-release), kernel (uname) and
// processor (/proc/cpuinfo).
#pragma once

#include <string>
#include <string_view>

#include "platform/native_system.h"

namespace platform {

// PRETTY_NAME of an os-release text (NAME when it has none), unquoted; empty
// when neither is given.
std::string DistributionFromOsRelease(std::string_view osRelease);

// The processor's name in a /proc/cpuinfo text: the first "model name" (x86
// and others), else "Processor" or "cpu model" or "cpu" (older ARM, MIPS,
// PowerPC), blanks collapsed; empty when none is given.
std::string ProcessorFromCpuinfo(std::string_view cpuinfo);

// /etc/os-release (or /usr/lib/os-release), uname and /proc/cpuinfo; "Linux"
// when no distribution names itself.
NativeSystem RunningNativeSystem();

}  // namespace platform
