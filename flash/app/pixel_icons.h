// Icons from the resources' pixel tables.
#pragma once

#include <QIcon>

#include "resources/flash/toolbar_images.h"

namespace flash {

QIcon IconFromPixels(const resources::PixelImage& image);

}  // namespace flash
