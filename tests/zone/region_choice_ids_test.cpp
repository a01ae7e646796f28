// The tables that tie region n to its controls: entry n-1 of the region-choice
// and disc-indicator id tables must name the template's control for region n,
// or the button labelled "Region 3" would set region 2.
#include <gtest/gtest.h>

#include <string>

#include "resources/zone/zone_dialogs.h"
#include "resources/zone/zone_resource_ids.h"

namespace {

const ui::ControlTemplate* FindControl(int id) {
  for (const ui::ControlTemplate& control : resources::RegionDialogTemplate().controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

TEST(RegionChoiceIdsTest, EntryNNamesTheControlsOfRegionN) {
  struct Row {
    int choiceId;
    const char* choiceCaption;
    int discId;
  };
  const Row rows[] = {
      {1002, "Region 1 (USA, Canada)", 1007},
      {1008, "Region 2 (West Europe, Japan, South Africa)", 1013},
      {1009, "Region 3 (East South Asia)", 1014},
      {1010, "Region 4 (Australlia, South America)", 1015},
      {1011, "Region 5 (Russian, East Europe, Africa)", 1016},
      {1012, "Region 6 (China)", 1017},
  };
  ASSERT_EQ(std::size(resources::kRegionChoiceIds), std::size(rows));
  ASSERT_EQ(std::size(resources::kDiscIndicatorIds), std::size(rows));
  for (std::size_t slot = 0; slot < std::size(rows); ++slot) {
    SCOPED_TRACE("region " + std::to_string(slot + 1));
    EXPECT_EQ(resources::kRegionChoiceIds[slot], rows[slot].choiceId);
    EXPECT_EQ(resources::kDiscIndicatorIds[slot], rows[slot].discId);
    const ui::ControlTemplate* choice = FindControl(resources::kRegionChoiceIds[slot]);
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->kind, ui::ControlKind::kRadio);
    EXPECT_EQ(std::string(choice->text), rows[slot].choiceCaption);
    const ui::ControlTemplate* disc = FindControl(resources::kDiscIndicatorIds[slot]);
    ASSERT_NE(disc, nullptr);
    EXPECT_EQ(disc->kind, ui::ControlKind::kCheck);
    EXPECT_EQ(std::string(disc->text), "Region " + std::to_string(slot + 1));
  }
}

}  // namespace
