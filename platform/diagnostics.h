// Where a real system's services tell the user why a drive cannot be reached.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Receives one line (without the end of line).
using DiagnosticSink = std::function<void(const std::string& line)>;

}  // namespace platform
