// A small PNG encoder for window images: 8-bit RGBA, no filter, the image data
// in stored (uncompressed) deflate blocks. Enough for a snapshot file that
// every viewer reads, without an image library.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ui {

// `argb` holds width * height pixels, rows top to bottom, 0xAARRGGBB. Returns
// the whole file, or nothing when the sizes do not match the pixels.
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint32_t> argb);

// Writes EncodePng's bytes to `path`; false (with `error` set) when it cannot.
bool WritePngFile(const std::string& path, int width, int height,
                  std::span<const std::uint32_t> argb, std::string* error);

}  // namespace ui
