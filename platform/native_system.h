// What the system really is when the Windows version record only stands in
// for it (Linux): its distribution and kernel. Both empty on a system the
// version record describes itself.
#pragma once

#include <string>

namespace platform {

struct NativeSystem {
  std::string distribution;  // "Debian GNU/Linux 12 (bookworm)"
  std::string kernel;        // "Linux 6.1.0-18-amd64"

  bool Known() const { return !distribution.empty() || !kernel.empty(); }
};

}  // namespace platform
