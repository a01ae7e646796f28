// What the start-up choice needs of the system it runs on: its real platform,
// and its process start for an emulated machine's programs. One source file
// per system implements it.
#pragma once

#include <memory>
#include <string>

#include "platform/diagnostics.h"
#include "platform/kernel.h"
#include "platform/platform.h"
#include "platform/process.h"

namespace startup {

// Null with a message when the system's settings are unusable.
std::unique_ptr<platform::Platform> OpenHostPlatform(std::string* error,
                                                     const platform::DiagnosticSink& diagnostics);

// Starts this system's programs (found beside this one) with handles of `kernel`.
std::unique_ptr<platform::ProcessService> HostProcessService(platform::Kernel& kernel);

}  // namespace startup
