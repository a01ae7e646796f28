// The single-region masks and their decoding.
#include "zone/region_mask.h"

#include "zone/rpc_structures.h"

namespace zone {

std::uint8_t SingleRegionMask(int region) {
  return static_cast<std::uint8_t>(~(1u << (region - 1)));
}

std::optional<int> RegionOfMask(std::uint8_t mask) {
  for (int region = 1; region <= kRegionCount; ++region) {
    if (mask == SingleRegionMask(region)) return region;
  }
  return std::nullopt;
}

bool RegionMarked(std::uint8_t mask, int region) { return (mask & (1u << (region - 1))) == 0; }

}  // namespace zone
