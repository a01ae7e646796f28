// The region choices' placement.
#include "zone/window/region_choice_layout.h"

#include <algorithm>
#include <cstddef>

namespace zone {
namespace {

constexpr int kReservedHeight = 25;  // group frame and caption, label spacing
constexpr int kLeftInset = 10;
constexpr int kWidthInset = 15;
constexpr int kLabelGap = 5;
constexpr int kRows = 6;

}  // namespace

RegionChoicePlacement PlaceRegionChoices(const ui::ItemRect& group, const ui::ItemRect& label,
                                         const ui::ItemRect& firstChoice, int captionHeight) {
  RegionChoicePlacement placement;
  const int rowHeight = std::max(1, (group.height - label.height - kReservedHeight) / kRows);
  const int left = group.x + kLeftInset;
  const int width = group.width - kWidthInset;
  const int top = group.y + captionHeight;
  for (int k = 0; k < kRows; ++k) {
    placement.choices[static_cast<std::size_t>(k)] =
        ui::ItemRect{left, top + k * rowHeight, width, rowHeight};
  }
  placement.label =
      ui::ItemRect{left, top + kRows * rowHeight + kLabelGap, width, firstChoice.height};
  return placement;
}

}  // namespace zone
