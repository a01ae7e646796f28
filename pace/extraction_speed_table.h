// The entries of the "Audio Extraction Speed" list and the read speed each
// sends with SET CD SPEED, and the conversion of kbytes/s to X.
#pragma once

#include <array>
#include <cstdint>

namespace pace {

inline constexpr std::uint16_t kMaximumReadSpeed = 0xFFFF;  // "as fast as the drive can"
inline constexpr std::uint16_t kQuietReadSpeed = 0x0000;
inline constexpr int kKbytesPerX = 176;

struct ExtractionSpeedEntry {
  const char* text;
  std::uint16_t readSpeed;  // kbytes/s
};

inline constexpr std::array<ExtractionSpeedEntry, 6> kExtractionSpeedTable = {{
    {"Maximum Speed", kMaximumReadSpeed},
    {"4X", 4 * kKbytesPerX},
    {"8X", 8 * kKbytesPerX},
    {"10X", 10 * kKbytesPerX},
    {"12X", 12 * kKbytesPerX},
    {"16X", 16 * kKbytesPerX},
}};

// The read speed sent for a list index; an index past the table sends FFFFh.
constexpr std::uint16_t ExtractionReadSpeed(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= kExtractionSpeedTable.size()) {
    return kMaximumReadSpeed;
  }
  return kExtractionSpeedTable[static_cast<std::size_t>(index)].readSpeed;
}

// Whole X, the remainder dropped (2770 kbytes/s is 15X).
constexpr int SpeedInX(int kbytesPerSecond) { return kbytesPerSecond / kKbytesPerX; }

}  // namespace pace
