// The speed icon as pixels: each pixel's colour is the cover of the shapes over
// a grid of samples inside it, painted back to front (disc, hub, needle).
#include "pace/window/speed_icon_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pace {
namespace {

constexpr int kSamples = 4;  // per pixel side
constexpr std::uint32_t kOutline = 0x404040;
constexpr std::uint32_t kDisc = 0xC8D0E0;
constexpr std::uint32_t kHub = 0x606070;
constexpr std::uint32_t kNeedle = 0xC02020;
// The needle points to the upper right: fast.
constexpr double kNeedleTipX = 0.82;
constexpr double kNeedleTipY = 0.22;

double DistanceToSegment(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax;
  const double dy = by - ay;
  const double along = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + along * dx), y - (ay + along * dy));
}

// The colour at one sample point, or nothing (transparent) outside the disc.
bool SampleColour(double x, double y, double size, std::uint32_t* rgb) {
  const double centre = size / 2.0;
  const double radius = (size - 1.0) / 2.0;
  const double fromCentre = std::hypot(x - centre, y - centre);
  if (DistanceToSegment(x, y, centre, centre, size * kNeedleTipX, size * kNeedleTipY) <=
      size / 20.0) {
    *rgb = kNeedle;
  } else if (fromCentre <= size / 8.0) {
    *rgb = kHub;
  } else if (fromCentre <= radius - 1.0) {
    *rgb = kDisc;
  } else if (fromCentre <= radius) {
    *rgb = kOutline;
  } else {
    return false;
  }
  return true;
}

}  // namespace

ui::IconImage SpeedIconPixels(int size) {
  ui::IconImage image;
  if (size <= 0) return image;
  image.width = size;
  image.height = size;
  image.argb.reserve(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
  for (int row = 0; row < size; ++row) {
    for (int column = 0; column < size; ++column) {
      unsigned red = 0;
      unsigned green = 0;
      unsigned blue = 0;
      unsigned covered = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          std::uint32_t rgb = 0;
          if (!SampleColour(column + (sx + 0.5) / kSamples, row + (sy + 0.5) / kSamples, size,
                            &rgb)) {
            continue;
          }
          red += (rgb >> 16) & 0xFF;
          green += (rgb >> 8) & 0xFF;
          blue += rgb & 0xFF;
          ++covered;
        }
      }
      if (covered == 0) {
        image.argb.push_back(0);
        continue;
      }
      const unsigned alpha = covered * 0xFF / (kSamples * kSamples);
      image.argb.push_back(alpha << 24 | (red / covered) << 16 | (green / covered) << 8 |
                           (blue / covered));
    }
  }
  return image;
}

}  // namespace pace
