// XPM lines to ARGB pixels.
#include "launcher/window/xpm_icon.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace launcher {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kTransparent = 0x00000000u;
constexpr int kMaxSide = 256;

// "<char> c <colour>": false for anything else.
bool ParseColour(const char* line, char* key, std::uint32_t* argb) {
  if (line == nullptr || line[0] == '\0') return false;
  *key = line[0];
  char colour[16] = {};
  if (std::sscanf(line + 1, " c %15s", colour) != 1) return false;
  if (std::strcmp(colour, "None") == 0) {
    *argb = kTransparent;
    return true;
  }
  unsigned rgb = 0;
  char rest = 0;
  if (colour[0] != '#' || std::strlen(colour) != 7 ||
      std::sscanf(colour + 1, "%6x%c", &rgb, &rest) != 1) {
    return false;
  }
  *argb = kOpaque | rgb;
  return true;
}

}  // namespace

ui::IconImage IconImageFromXpm(std::span<const char* const> lines) {
  int width = 0;
  int height = 0;
  int colours = 0;
  int charsPerPixel = 0;
  if (lines.empty() || lines[0] == nullptr ||
      std::sscanf(lines[0], "%d %d %d %d", &width, &height, &colours, &charsPerPixel) != 4 ||
      width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || colours <= 0 ||
      charsPerPixel != 1 || lines.size() != 1 + static_cast<std::size_t>(colours + height)) {
    return {};
  }
  std::map<char, std::uint32_t> palette;
  for (int i = 0; i < colours; ++i) {
    char key = 0;
    std::uint32_t argb = 0;
    if (!ParseColour(lines[1 + static_cast<std::size_t>(i)], &key, &argb)) return {};
    palette[key] = argb;
  }
  ui::IconImage image;
  image.width = width;
  image.height = height;
  image.argb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int row = 0; row < height; ++row) {
    const char* pixels = lines[1 + static_cast<std::size_t>(colours + row)];
    if (pixels == nullptr || std::strlen(pixels) != static_cast<std::size_t>(width)) return {};
    for (int column = 0; column < width; ++column) {
      const auto found = palette.find(pixels[column]);
      if (found == palette.end()) return {};
      image.argb.push_back(found->second);
    }
  }
  return image;
}

}  // namespace launcher
