// The speed utilities' Win32 extra on real dialogs under Wine: the extraction
// label widened to its text in the dialog's font.
#include <gtest/gtest.h>

#include <memory>

#include "pace/win32/speed_label_fit.h"
#include "pace/window/speed_program.h"
#include "resources/pace/pace_resource_ids.h"
#include "tests/support/window_test_machine.h"
#include "tests/window/window_test_host.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_window_system.h"

namespace pace {
namespace {

RECT PlaceInDialog(HWND dialog, int id) {
  RECT place{};
  GetWindowRect(GetDlgItem(dialog, id), &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

class SpeedLabelFit : public testing::TestWithParam<const SpeedWindowVariant*> {};

TEST_P(SpeedLabelFit, LabelHoldsItsTextOnOneLineBesideTheSetButton) {
  auto machine = testsupport::LoadWindowTestMachine(R"({"devices": []})");
  ASSERT_NE(machine, nullptr);
  SpeedProgram program(window_test::System(), *machine, *GetParam());
  ASSERT_EQ(program.Start(), 0);
  FitSpeedLabelToText(program.Window());

  const HWND dialog =
      static_cast<ui::win32::Win32OpenWindow&>(program.Window()).DialogHost().Window();
  const HWND label = GetDlgItem(dialog, resources::kIdcExtractionLabel);
  ASSERT_NE(label, nullptr);
  char text[64] = {};
  const int length = GetWindowTextA(label, text, sizeof text);
  HDC dc = GetDC(label);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, length, &extent);
  ReleaseDC(label, dc);

  const RECT place = PlaceInDialog(dialog, resources::kIdcExtractionLabel);
  EXPECT_GE(place.right - place.left, extent.cx) << text;
  RECT overlap{};
  const RECT set = PlaceInDialog(dialog, resources::kIdcExtractionSet);
  EXPECT_EQ(IntersectRect(&overlap, &place, &set), FALSE);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, SpeedLabelFit,
                         testing::Values(&SpeedWindowVariant::Spti(), &SpeedWindowVariant::Aspi()),
                         [](const testing::TestParamInfo<const SpeedWindowVariant*>& info) {
                           return std::string(info.param->procedure.applicationTitle);
                         });

}  // namespace
}  // namespace pace
