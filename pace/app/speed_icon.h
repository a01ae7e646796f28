// Icon 128 of the speed utilities: a disc with a speed needle.
#pragma once

#include <QIcon>

namespace pace {

QIcon SpeedIcon();

}  // namespace pace
