// The region choices' placement.
#include "zone/app/region_choice_layout.h"

#include <algorithm>

namespace zone {
namespace {

constexpr int kReservedHeight = 25;  // group frame and caption, label spacing
constexpr int kLeftInset = 10;
constexpr int kWidthInset = 15;
constexpr int kLabelGap = 5;

}  // namespace

RegionChoicePlacement PlaceRegionChoices(const QRect& group, const QRect& label,
                                         const QRect& firstChoice, int captionHeight) {
  RegionChoicePlacement placement;
  const int rowHeight = std::max(1, (group.height() - label.height() - kReservedHeight) / 6);
  const int left = group.left() + kLeftInset;
  const int width = group.width() - kWidthInset;
  const int top = group.top() + captionHeight;
  for (int k = 0; k < 6; ++k) {
    placement.choices[static_cast<std::size_t>(k)] =
        QRect(left, top + k * rowHeight, width, rowHeight);
  }
  placement.label = QRect(left, top + 6 * rowHeight + kLabelGap, width, firstChoice.height());
  return placement;
}

}  // namespace zone
