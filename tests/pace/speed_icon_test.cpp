// Icon 128 as pixels: transparent outside the disc, the disc, hub and needle
// in their colours where each covers a whole pixel.
#include <gtest/gtest.h>

#include <cstdint>

#include "pace/window/speed_icon_pixels.h"

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

}  // namespace
}  // namespace pace
