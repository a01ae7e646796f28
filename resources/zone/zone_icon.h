// zonespti's program icon (128) as a 32 by 32 pixel table: one character per
// pixel, mapped through its palette.
#pragma once

#include <cstdint>
#include <span>

namespace resources {

inline constexpr int kZoneIconSize = 32;

struct ZoneIconColour {
  char key;
  std::uint32_t argb;  // 0 for transparent
};

std::span<const char* const> ZoneIconRows();
std::span<const ZoneIconColour> ZoneIconPalette();

}  // namespace resources
