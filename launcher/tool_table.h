// The three tool buttons and the build of each tool for each platform family.
#pragma once

#include <optional>
#include <string>

#include "platform/win_types.h"

namespace launcher {

enum class Tool { kUpdate, kRegion, kSpeed };
inline constexpr int kToolCount = 3;

struct ToolRow {
  Tool tool;
  const char* olderFamily;  // platform 1: the ASPI build
  const char* ntFamily;     // platform 2: the pass-through build
};

const ToolRow& ToolRowOf(Tool tool);

// What CreateProcessA gets for a tool on a platform: the bare executable name
// as the whole command line and the creation flags.
struct ToolStart {
  std::string commandLine;
  platform::Dword creationFlags = 0;
};

// Nothing on a platform other than 1 and 2.
std::optional<ToolStart> ChooseToolStart(Tool tool, platform::Dword platformId);

}  // namespace launcher
