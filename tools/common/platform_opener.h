// How a tool gets its platform: opened only once the command line is good,
// so that --help works without a machine. Null with a message on failure.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace tools {

using PlatformOpener = std::function<platform::Platform*(std::string* error)>;

}  // namespace tools
