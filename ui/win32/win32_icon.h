// Program icons from pixels.
#pragma once

#include "ui/host/window_system.h"
#include "ui/win32/win32_api.h"

namespace ui::win32 {

// An icon of the image's size with its alpha channel; null for an empty or
// inconsistent image. The caller destroys it (DestroyIcon).
HICON CreateIconFromImage(const IconImage& image);

}  // namespace ui::win32
