// Where the six region choices and the changes-left label go inside the
// "DVD-ROM Regional Code" group: stacked in region order, the label below them.
#pragma once

#include <array>

#include "ui/host/window_host.h"

namespace zone {

struct RegionChoicePlacement {
  std::array<ui::ItemRect, 6> choices;
  ui::ItemRect label;
};

// All rectangles in the dialog's client pixels. Rows are
// (group height - label height - 25) / 6 high, from `captionHeight` below the
// group's top; left edge 10 inside the group, width the group's less 15; the
// label 5 below the last row with the first choice's height.
RegionChoicePlacement PlaceRegionChoices(const ui::ItemRect& group, const ui::ItemRect& label,
                                         const ui::ItemRect& firstChoice, int captionHeight);

}  // namespace zone
