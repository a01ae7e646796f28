// toolgate's fixed texts.
#pragma once

namespace resources {

// Message boxes that name no caption carry the executable's base name.
inline constexpr char kLauncherApplicationTitle[] = "toolgate";
// String 101: the system menu's About item (added only when not empty).
inline constexpr char kLauncherAboutMenuText[] = "&About toolgate...";
inline constexpr char kLauncherCloseMenuText[] = "&Close\tAlt+F4";

}  // namespace resources
