// Pixel tables to pixels.
#include "flash/win32/pixel_image.h"

#include <cstring>

namespace flash {
namespace {

std::uint32_t ColourOf(char key) {
  for (const resources::PaletteEntry& entry : resources::ImagePalette()) {
    if (entry.key == key) return entry.argb;
  }
  return 0;
}

}  // namespace

ui::IconImage IconImageOf(const resources::PixelImage& image) {
  ui::IconImage pixels;
  pixels.width = image.width;
  pixels.height = image.height;
  pixels.argb.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height),
                     0u);
  for (int y = 0; y < image.height && static_cast<std::size_t>(y) < image.rows.size(); ++y) {
    const char* row = image.rows[static_cast<std::size_t>(y)];
    const int length = static_cast<int>(std::strlen(row));
    for (int x = 0; x < image.width && x < length; ++x) {
      pixels.argb[static_cast<std::size_t>(y * image.width + x)] = ColourOf(row[x]);
    }
  }
  return pixels;
}

}  // namespace flash
