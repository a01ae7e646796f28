// What the system really is when the Windows version and processor records
// only stand in for it (Linux): its distribution, kernel and processor. All
// empty on a system the records describe themselves.
#pragma once

#include <string>

namespace platform {

struct NativeSystem {
  std::string distribution;  // "Debian GNU/Linux 12 (bookworm)"
  std::string kernel;        // "Linux 6.1.0-18-amd64"
  std::string processor{};   // "AMD Ryzen 7 5800X 8-Core Processor"; empty when unknown

  bool Known() const { return !distribution.empty() || !kernel.empty(); }
};

}  // namespace platform
