// The PNG encoder's files, read back by Qt's own PNG reader.
#include "ui/snapshot/png_encoder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <vector>

namespace {

QImage Decode(const std::vector<std::uint8_t>& file) {
  QImage image;
  image.loadFromData(file.data(), static_cast<int>(file.size()), "PNG");
  return image.convertToFormat(QImage::Format_ARGB32);
}

TEST(PngEncoder, EveryPixelReadsBackWithItsAlpha) {
  // 200 x 120 RGBA rows make more than one stored deflate block (64 KiB each).
  constexpr int kWidth = 200;
  constexpr int kHeight = 120;
  std::vector<std::uint32_t> pixels(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const auto alpha = static_cast<std::uint32_t>(x % 2 == 0 ? 0xFF : 0x80);
      pixels[static_cast<std::size_t>(y * kWidth + x)] =
          (alpha << 24) | (static_cast<std::uint32_t>(x) << 16) |
          (static_cast<std::uint32_t>(y) << 8) | static_cast<std::uint32_t>((x * y) & 0xFF);
    }
  }
  const QImage image = Decode(ui::EncodePng(kWidth, kHeight, pixels));
  ASSERT_EQ(image.width(), kWidth);
  ASSERT_EQ(image.height(), kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      ASSERT_EQ(image.pixel(x, y), pixels[static_cast<std::size_t>(y * kWidth + x)])
          << x << "," << y;
    }
  }
}

TEST(PngEncoder, RefusesPixelsThatDoNotMatchTheSize) {
  const std::vector<std::uint32_t> pixels(6, 0xFF000000u);
  EXPECT_TRUE(ui::EncodePng(2, 4, pixels).empty());
  EXPECT_TRUE(ui::EncodePng(0, 0, {}).empty());
  EXPECT_TRUE(ui::EncodePng(-2, -3, pixels).empty());
  EXPECT_FALSE(ui::EncodePng(3, 2, pixels).empty());
}

TEST(PngEncoder, AnUnwritablePathIsAnErrorNamingIt) {
  const std::vector<std::uint32_t> pixels(1, 0xFFFFFFFFu);
  std::string error;
  EXPECT_FALSE(ui::WritePngFile("/nonexistent-folder/x.png", 1, 1, pixels, &error));
  EXPECT_NE(error.find("/nonexistent-folder/x.png"), std::string::npos) << error;
}

}  // namespace
