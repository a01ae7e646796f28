// toolgate's program icon as XPM lines.
#pragma once

#include <span>

namespace resources {

std::span<const char* const> LauncherIconXpm();

}  // namespace resources
