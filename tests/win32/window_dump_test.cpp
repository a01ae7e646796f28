// The window dump both hosts write for DVDUTIL_SNAPSHOT: one order and one
// spelling whatever order a host finds its controls in.
#include "ui/host/window_dump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

ui::DumpedWindow Sample() {
  ui::DumpedWindow window;
  window.caption = "Caption \"quoted\"";
  ui::DumpedControl label;
  label.text = "Line one\r\nLine\ttwo \\ \x01";
  ui::DumpedControl otherLabel;
  otherLabel.text = "A label";
  ui::DumpedControl icon;
  icon.id = 1000;
  icon.kind = ui::ControlKind::kIcon;
  icon.text = "#101";
  ui::DumpedControl check;
  check.id = 1007;
  check.kind = ui::ControlKind::kCheck;
  check.text = "Region 1";
  check.checked = true;
  check.enabled = false;
  ui::DumpedControl radio;
  radio.id = 1002;
  radio.kind = ui::ControlKind::kRadio;
  radio.text = "R\xC3\xA9gion";
  radio.checked = false;
  radio.visible = false;
  radio.pushed = true;
  ui::DumpedControl combo;
  combo.id = 1005;
  combo.kind = ui::ControlKind::kCombo;
  combo.text = "D:";
  combo.entries = {"D:", "E:"};
  combo.selection = 0;
  ui::DumpedControl emptyCombo;
  emptyCombo.id = 1004;
  emptyCombo.kind = ui::ControlKind::kCombo;
  ui::DumpedControl tree;
  tree.id = 1020;
  tree.kind = ui::ControlKind::kTree;
  tree.items = {{0, "Drives", false}, {1, "D:", true}, {0, "Files", false}};
  window.controls = {label, check, tree, icon, otherLabel, combo, radio, emptyCombo};
  return window;
}

constexpr char kSampleDump[] =
    "caption \"Caption \\\"quoted\\\"\"\n"
    "1000 icon \"\"\n"
    "1002 radio \"R\xC3\xA9gion\" hidden pushed unchecked\n"
    "1004 combo \"\" selected -1\n"
    "1005 combo \"D:\" selected 0\n"
    "  entry \"D:\"\n"
    "  entry \"E:\"\n"
    "1007 check \"Region 1\" disabled checked\n"
    "1020 tree \"\"\n"
    "  item 0 \"Drives\"\n"
    "  item 1 \"D:\" selected\n"
    "  item 0 \"Files\"\n"
    "-1 static \"A label\"\n"
    "-1 static \"Line one\\r\\nLine\\ttwo \\\\ \\x01\"\n";

TEST(WindowDump, OrdersAndSpellsEveryControlTheSameWhateverTheOrderFound) {
  ui::DumpedWindow window = Sample();
  EXPECT_EQ(ui::FormatWindowDump(window), kSampleDump);
  std::reverse(window.controls.begin(), window.controls.end());
  EXPECT_EQ(ui::FormatWindowDump(window), kSampleDump);
}

}  // namespace
