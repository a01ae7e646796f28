// Resource, control and command ids of zonespti.
#pragma once

namespace resources {

inline constexpr int kIddZoneAboutBox = 100;
inline constexpr int kIddRegionDialog = 102;
inline constexpr int kIdiZoneIcon = 128;
inline constexpr int kIdsAboutZone = 101;  // the system menu's About entry
inline constexpr int kIdmAboutZone = 16;   // its command

// RegionDialog controls.
inline constexpr int kIdcZoneIcon = 1000;
inline constexpr int kIdcZoneTitle = 1001;
inline constexpr int kIdcRegionChoice1 = 1002;
inline constexpr int kIdcRegionGroup = 1003;
inline constexpr int kIdcZoneDriveList = 1005;
inline constexpr int kIdcZoneStatusBox = 1006;
inline constexpr int kIdcDiscIndicator1 = 1007;
inline constexpr int kIdcRegionChoice2 = 1008;
inline constexpr int kIdcRegionChoice3 = 1009;
inline constexpr int kIdcRegionChoice4 = 1010;
inline constexpr int kIdcRegionChoice5 = 1011;
inline constexpr int kIdcRegionChoice6 = 1012;
inline constexpr int kIdcDiscIndicator2 = 1013;
inline constexpr int kIdcDiscIndicator3 = 1014;
inline constexpr int kIdcDiscIndicator4 = 1015;
inline constexpr int kIdcDiscIndicator5 = 1016;
inline constexpr int kIdcDiscIndicator6 = 1017;
inline constexpr int kIdcDiscGroup = 1018;
inline constexpr int kIdcSetRegion = 1019;
inline constexpr int kIdcZoneExit = 1020;
inline constexpr int kIdcGetRegion = 1021;
inline constexpr int kIdcChangesLeft = 1022;

// Region choice / disc indicator n (1..6) is entry n-1.
inline constexpr int kRegionChoiceIds[] = {kIdcRegionChoice1, kIdcRegionChoice2, kIdcRegionChoice3,
                                           kIdcRegionChoice4, kIdcRegionChoice5, kIdcRegionChoice6};
inline constexpr int kDiscIndicatorIds[] = {kIdcDiscIndicator1, kIdcDiscIndicator2,
                                            kIdcDiscIndicator3, kIdcDiscIndicator4,
                                            kIdcDiscIndicator5, kIdcDiscIndicator6};

}  // namespace resources
