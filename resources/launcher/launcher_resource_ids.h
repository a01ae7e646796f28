// Resource, control and command ids of toolgate.
#pragma once

namespace resources {

inline constexpr int kIddLauncherAbout = 100;
inline constexpr int kIddLauncherDialog = 102;
inline constexpr int kIdrLauncherIcon = 128;
inline constexpr int kIdsLauncherAboutMenu = 101;

inline constexpr int kIdcLauncherReport = 1004;
inline constexpr int kIdcLauncherUpdate = 3;
inline constexpr int kIdcLauncherRegion = 4;
inline constexpr int kIdcLauncherSpeed = 7;
inline constexpr int kIdcLauncherAbout = 5;
inline constexpr int kIdcLauncherExit = 6;
inline constexpr int kIdcLauncherAboutText = 1000;

// System menu commands: our About item, and the stock Close.
inline constexpr unsigned kIdmLauncherAbout = 0x0010;
inline constexpr unsigned kScClose = 0xF060;

}  // namespace resources
