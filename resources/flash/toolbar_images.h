// The updaters' 16 by 15 toolbar images and 16 by 16 program icon as pixel
// tables: one character per pixel, mapped through a small palette.
#pragma once

#include <cstdint>
#include <span>

namespace resources {

inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;
inline constexpr int kToolbarImageOpen = 0;
inline constexpr int kToolbarImageSearch = 1;
inline constexpr int kToolbarImageAbout = 2;
inline constexpr int kToolbarImageCount = 3;

inline constexpr int kProgramIconSize = 16;

struct PaletteEntry {
  char key;
  std::uint32_t argb;  // 0 for transparent
};

struct PixelImage {
  int width;
  int height;
  std::span<const char* const> rows;  // `height` rows of `width` characters
};

std::span<const PaletteEntry> ImagePalette();
PixelImage ToolbarImage(int index);
PixelImage ProgramIcon();

}  // namespace resources
