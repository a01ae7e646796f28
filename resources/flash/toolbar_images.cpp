// Pixel tables of the toolbar images and the program icon.
#include "resources/flash/toolbar_images.h"

namespace resources {
namespace {

constexpr PaletteEntry kPalette[] = {
    {'.', 0x00000000u}, {'k', 0xFF000000u}, {'w', 0xFFFFFFFFu}, {'y', 0xFFFFFF00u},
    {'o', 0xFF808000u}, {'g', 0xFF808080u}, {'s', 0xFFC0C0C0u}, {'b', 0xFF000080u},
    {'c', 0xFF00FFFFu}, {'r', 0xFF800000u},
};

constexpr const char* kOpenRows[kToolbarImageHeight] = {
    "................", "................", "..........kkk...", ".........k...k.k",
    "..............kk", ".kkk.........kkk", "kyoykkkkkkk.....", "kwywyyyyyyk.....",
    "kywkkkkkkkkkk...", "kwkokooooooook..", "kykooooooooook..", "kkooooooooook...",
    "kkkkkkkkkkkk....", "................", "................",
};

constexpr const char* kSearchRows[kToolbarImageHeight] = {
    "................", "....kkkkk.......", "...kwwwwwk......", "..kwccwwwwk.....",
    "..kwcwwwwwk.....", "..kwwwwwwwk.....", "..kwwwwwwwk.....", "..kwwwwwwwk.....",
    "...kwwwwwk......", "....kkkkkkk.....", "..........kkk...", "...........kkk..",
    "............kkk.", ".............kk.", "................",
};

constexpr const char* kAboutRows[kToolbarImageHeight] = {
    "................", ".....kkkkkk.....", "....kccccccb....", "...kcckbbbccb...",
    "...kcckb.kccb...", "....bb..kccb....", ".......kccb.....", "......kccb......",
    "......kccb......", "......kbbb......", "................", "......kccb......",
    "......kccb......", "......kbbb......", "................",
};

constexpr const char* kIconRows[kProgramIconSize] = {
    "................", ".....kkkkkk.....", "...kksssssskk...", "..ksssskkssssk..",
    ".kssssgwwgsssskk", ".ksssgwkkwgsssk.", "kssssgwkkwgssssk", "kssssgwkkwgssssk",
    "ksssssgwwgsssssk", "kssssssggssssssk", ".kssssssssssssk.", ".kssrrrssssssk..",
    "..ksssssssssk...", "...kksssssskk...", ".....kkkkkk.....", "................",
};

}  // namespace

std::span<const PaletteEntry> ImagePalette() { return kPalette; }

PixelImage ToolbarImage(int index) {
  switch (index) {
    case kToolbarImageSearch:
      return {kToolbarImageWidth, kToolbarImageHeight, kSearchRows};
    case kToolbarImageAbout:
      return {kToolbarImageWidth, kToolbarImageHeight, kAboutRows};
    default:
      return {kToolbarImageWidth, kToolbarImageHeight, kOpenRows};
  }
}

PixelImage ProgramIcon() { return {kProgramIconSize, kProgramIconSize, kIconRows}; }

}  // namespace resources
