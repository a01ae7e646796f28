// Resource, control and command ids of the two speed utility builds.
#pragma once

namespace resources {

inline constexpr int kIddSpeedAboutBox = 100;
inline constexpr int kIddSpeedDialog = 102;
inline constexpr int kIdiSpeedIcon = 128;
inline constexpr int kIdsSpeedAboutEntry = 101;   // the system-menu entry's string
inline constexpr int kIdmSpeedAboutBox = 0x0010;  // its system command

// Controls; only the drive list's id differs between the builds.
inline constexpr int kIdcSptiSpeedDriveList = 1000;
inline constexpr int kIdcAspiSpeedDriveList = 1001;
inline constexpr int kIdcExtractionSet = 1003;
inline constexpr int kIdcQuietTemporary = 1004;
inline constexpr int kIdcQuietPermanent = 1005;
inline constexpr int kIdcPerformanceTemporary = 1006;
inline constexpr int kIdcPerformancePermanent = 1007;
inline constexpr int kIdcDriveInformation = 1008;
inline constexpr int kIdcSpeedExit = 1009;
inline constexpr int kIdcExtractionList = 1010;
inline constexpr int kIdcExtractionLabel = 1011;
inline constexpr int kIdcSpeedStatusBox = 1012;

}  // namespace resources
