// The speed utilities' Win32 extras on real dialogs under Wine: icon 128 as
// pixels, and the extraction label widened to its text in the dialog's font.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "pace/win32/speed_icon_pixels.h"
#include "pace/win32/speed_label_fit.h"
#include "pace/window/speed_program.h"
#include "resources/pace/pace_resource_ids.h"
#include "tests/support/window_test_machine.h"
#include "tests/window/window_test_host.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_window_system.h"

namespace pace {
namespace {

constexpr int kIconSize = 32;

std::uint32_t Pixel(const ui::IconImage& image, int x, int y) {
  return image.argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                    static_cast<std::size_t>(x)];
}

TEST(SpeedIconPixels, DiscHubAndNeedleOnATransparentSquare) {
  const ui::IconImage image = SpeedIconPixels(kIconSize);
  ASSERT_EQ(image.width, kIconSize);
  ASSERT_EQ(image.height, kIconSize);
  ASSERT_EQ(image.argb.size(), static_cast<std::size_t>(kIconSize * kIconSize));
  EXPECT_EQ(Pixel(image, 0, 0), 0u);  // outside the disc
  EXPECT_EQ(Pixel(image, kIconSize - 1, kIconSize - 1), 0u);
  EXPECT_EQ(Pixel(image, 8, 24), 0xFFC8D0E0u);   // the disc, lower left
  EXPECT_EQ(Pixel(image, 23, 10), 0xFFC02020u);  // the needle, upper right
  EXPECT_EQ(Pixel(image, 13, 17), 0xFF606070u);  // the hub, left of the needle
  EXPECT_TRUE(SpeedIconPixels(0).argb.empty());
}

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
