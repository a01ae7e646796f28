// The tool table.
#include "launcher/tool_table.h"

#include <array>

#include "platform/kernel.h"
#include "platform/process.h"

namespace launcher {

namespace {

// "zoneaspi.EXE" is not delivered: on the older family that button ends in
// the system's file-not-found text.
constexpr std::array<ToolRow, kToolCount> kToolTable = {{
    {Tool::kUpdate, "flashaspi.EXE", "flashspti.EXE"},
    {Tool::kRegion, "zoneaspi.EXE", "zonespti.EXE"},
    {Tool::kSpeed, "paceaspi.EXE", "pacespti.EXE"},
}};

}  // namespace

const ToolRow& ToolRowOf(Tool tool) { return kToolTable[static_cast<std::size_t>(tool)]; }

std::optional<ToolStart> ChooseToolStart(Tool tool, platform::Dword platformId) {
  const ToolRow& row = ToolRowOf(tool);
  if (platformId == platform::kVerPlatformWin32Windows) {
    return ToolStart{row.olderFamily, platform::kCreateDefaultErrorMode};
  }
  if (platformId == platform::kVerPlatformWin32Nt) return ToolStart{row.ntFamily, 0};
  return std::nullopt;
}

}  // namespace launcher
