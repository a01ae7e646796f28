// zonespti's fixed window texts.
#pragma once

namespace resources {

inline constexpr char kZoneApplicationTitle[] = "zonespti";
inline constexpr char kZoneAboutMenuText[] = "&About zonespti...";  // string 101
inline constexpr char kZoneAboutText[] = "zonespti Version 1.0";

}  // namespace resources
