// Where the six region choices and the changes-left label go inside the
// "DVD-ROM Regional Code" group: stacked in region order, the label below them.
#pragma once

#include <QRect>
#include <array>

namespace zone {

struct RegionChoicePlacement {
  std::array<QRect, 6> choices;
  QRect label;
};

// All rectangles in the dialog's client coordinates. Rows are
// (group height - label height - 25) / 6 high, from `captionHeight` below the
// group's top;
// left edge 10 inside the group, width the group's less 15; the label 5 below
// the last row with the first choice's height.
RegionChoicePlacement PlaceRegionChoices(const QRect& group, const QRect& label,
                                         const QRect& firstChoice, int captionHeight);

}  // namespace zone
