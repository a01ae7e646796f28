// Pixel table to QIcon through the resources' palette.
#include "flash/app/pixel_icons.h"

#include <QImage>
#include <QPixmap>
#include <cstring>

namespace flash {
namespace {

QRgb ColourOf(char key) {
  for (const resources::PaletteEntry& entry : resources::ImagePalette()) {
    if (entry.key == key) return entry.argb;
  }
  return 0;  // unknown keys stay transparent
}

}  // namespace

QIcon IconFromPixels(const resources::PixelImage& image) {
  QImage pixels(image.width, image.height, QImage::Format_ARGB32);
  pixels.fill(Qt::transparent);
  for (int y = 0; y < image.height && static_cast<std::size_t>(y) < image.rows.size(); ++y) {
    const char* row = image.rows[static_cast<std::size_t>(y)];
    const int length = static_cast<int>(std::strlen(row));
    for (int x = 0; x < image.width && x < length; ++x) pixels.setPixel(x, y, ColourOf(row[x]));
  }
  return QIcon(QPixmap::fromImage(pixels));
}

}  // namespace flash
