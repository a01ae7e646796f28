// The program icon's XPM lines as pixels: colours, transparency, row order,
// and malformed lines giving no image rather than a wrong one.
#include "launcher/window/xpm_icon.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "resources/launcher/launcher_icon.h"

namespace launcher {
namespace {

TEST(XpmIcon, PixelsAreThePaletteColoursRowByRow) {
  constexpr const char* kLines[] = {"3 2 3 1",     ". c None", "r c #FF0000",
                                    "b c #0000ff", "r.b",      "bbr"};
  const ui::IconImage image = IconImageFromXpm(kLines);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.argb, (std::vector<std::uint32_t>{0xFFFF0000u, 0x00000000u, 0xFF0000FFu,
                                                    0xFF0000FFu, 0xFF0000FFu, 0xFFFF0000u}));
}

TEST(XpmIcon, MalformedLinesGiveNoImage) {
  const std::vector<std::vector<const char*>> bad = {
      {},
      {"2 1 1 1", ". c None"},                 // a row missing
      {"2 1 1 1", ". c None", "..", "extra"},  // a row too many
      {"2 1 1 1", ". c None", "."},            // a row too short
      {"2 1 1 1", ". c None", ".x"},           // a character with no colour
      {"2 1 1 1", ". c #12345", ".."},         // a colour too short
      {"2 1 1 1", ". c #12345G", ".."},        // not hexadecimal
      {"2 1 1 2", ".. c None", "...."},        // two characters per pixel
      {"0 1 1 1", ". c None", ""},             // no width
      {"9999 1 1 1", ". c None", "."},         // larger than an icon
  };
  for (const auto& lines : bad) {
    const ui::IconImage image = IconImageFromXpm(lines);
    EXPECT_EQ(image.width, 0) << (lines.empty() ? "" : lines[0]);
    EXPECT_TRUE(image.argb.empty());
  }
}

TEST(XpmIcon, LauncherIconIs32By32WithTransparentCorners) {
  const ui::IconImage image = IconImageFromXpm(resources::LauncherIconXpm());
  ASSERT_EQ(image.width, 32);
  ASSERT_EQ(image.height, 32);
  EXPECT_EQ(image.argb.front(), 0u);
  EXPECT_EQ(image.argb.back(), 0u);
  // Row 1 starts its outline ("k c #202830") at column 11.
  EXPECT_EQ(image.argb[32 + 11], 0xFF202830u);
}

}  // namespace
}  // namespace launcher
