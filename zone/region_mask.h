// Region masks: bit n-1 stands for region n, a 0 bit marks the drive's region
// (drive mask) or a region where the disc may be played (disc mask).
#pragma once

#include <cstdint>
#include <optional>

namespace zone {

inline constexpr std::uint8_t kNoRegionMask = 0xFF;

// FEh for region 1 ... DFh for region 6.
std::uint8_t SingleRegionMask(int region);
// The region 1..6 a single-region mask stands for; nothing for any other mask.
std::optional<int> RegionOfMask(std::uint8_t mask);
// Whether region 1..8 is marked (its bit is 0) in the mask.
bool RegionMarked(std::uint8_t mask, int region);

}  // namespace zone
