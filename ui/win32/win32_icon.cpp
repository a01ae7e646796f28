// A 32-bit top-down DIB holds 0xAARRGGBB pixels as they are; the mask marks
// the fully transparent ones for displays without alpha blending.
#include "ui/win32/win32_icon.h"

#include <cstring>
#include <vector>

namespace ui::win32 {

HICON CreateIconFromImage(const IconImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.argb.size() != static_cast<std::size_t>(image.width) * image.height) {
    return nullptr;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP color = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (color == nullptr || bits == nullptr) {
    if (color != nullptr) DeleteObject(color);
    return nullptr;
  }
  std::memcpy(bits, image.argb.data(), image.argb.size() * sizeof(std::uint32_t));

  // Monochrome rows are padded to 16 bits; a set bit is transparent.
  const int stride = (image.width + 15) / 16 * 2;
  std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(stride) * image.height, 0);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if ((image.argb[static_cast<std::size_t>(y) * image.width + x] >> 24) == 0) {
        maskBits[static_cast<std::size_t>(y) * stride + x / 8] |=
            static_cast<std::uint8_t>(0x80u >> (x % 8));
      }
    }
  }
  HBITMAP mask = CreateBitmap(image.width, image.height, 1, 1, maskBits.data());
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmColor = color;
  icon.hbmMask = mask;
  HICON result = mask != nullptr ? CreateIconIndirect(&icon) : nullptr;
  DeleteObject(color);
  if (mask != nullptr) DeleteObject(mask);
  return result;
}

}  // namespace ui::win32
