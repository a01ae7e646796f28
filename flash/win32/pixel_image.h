// The resources' pixel tables (toolbar images, program icon) as 0xAARRGGBB
// pixels through the resources' palette.
#pragma once

#include "resources/flash/toolbar_images.h"
#include "ui/host/window_system.h"

namespace flash {

// Rows top to bottom; unknown keys and missing pixels are transparent.
ui::IconImage IconImageOf(const resources::PixelImage& image);

}  // namespace flash
