// The region choices' placement as numbers: rows of (group height - label
// height - 25) / 6, 10 in from the group's left, 15 narrower than it, from the
// caption height below its top; the label 5 below the last row, as tall as
// the first choice.
#include "zone/window/region_choice_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(RegionChoiceLayoutTest, RowsStackedInRegionOrderAndTheLabelBelowThem) {
  // (185 - 23 - 25) / 6 and (180 - 23 - 25) / 6 are both 22 (integer
  // division): one is a pixel short of 23, the other exactly 22.
  for (const int groupHeight : {185, 180}) {
    const ui::ItemRect group{10, 90, 300, groupHeight};
    const ui::ItemRect label{28, 235, 265, 23};
    const ui::ItemRect firstChoice{30, 111, 145, 16};
    const zone::RegionChoicePlacement placement =
        zone::PlaceRegionChoices(group, label, firstChoice, 21);
    for (int k = 0; k < 6; ++k) {
      EXPECT_EQ(placement.choices[static_cast<std::size_t>(k)],
                (ui::ItemRect{20, 111 + k * 22, 285, 22}))
          << groupHeight << " " << k;
    }
    EXPECT_EQ(placement.label, (ui::ItemRect{20, 111 + 6 * 22 + 5, 285, 16})) << groupHeight;
  }
}

TEST(RegionChoiceLayoutTest, AGroupTooSmallStillGivesRowsOfOnePixel) {
  const zone::RegionChoicePlacement placement =
      zone::PlaceRegionChoices({0, 0, 20, 30}, {0, 0, 10, 20}, {0, 0, 10, 5}, 0);
  EXPECT_EQ(placement.choices[5], (ui::ItemRect{10, 5, 5, 1}));
  EXPECT_EQ(placement.label.y, 6 + 5);
}

}  // namespace
