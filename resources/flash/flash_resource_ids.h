// Resource, control and command ids of the two updater builds.
#pragma once

namespace resources {

// Dialog templates.
inline constexpr int kIddAboutBox = 100;
inline constexpr int kIddMainForm = 101;
inline constexpr int kIddUpdateProgress = 130;
inline constexpr int kIddConfirmUpdate = 131;
inline constexpr int kIdrMainFrame = 128;  // menu, toolbar, accelerators, document string

// Controls common to both builds.
inline constexpr int kIdcDriveTree = 1000;
inline constexpr int kIdcConfirmMessage = 1009;
inline constexpr int kIdcConfirmOldFirmware = 1010;
inline constexpr int kIdcConfirmNewFirmware = 1011;

// flashaspi controls.
inline constexpr int kIdcAspiStatusBox = 1001;
inline constexpr int kIdcAspiFileOpen = 1002;
inline constexpr int kIdcAspiUpdate = 1003;
inline constexpr int kIdcAspiExit = 1004;
inline constexpr int kIdcAspiDriveListLabel = 1005;
inline constexpr int kIdcAspiStatusLabel = 1006;
inline constexpr int kIdcAspiAboutVersion = 1003;
inline constexpr int kIdcAspiProgressBar = 1007;
inline constexpr int kIdcAspiProgressLabel = 1008;

// flashspti controls.
inline constexpr int kIdcSptiExit = 1001;
inline constexpr int kIdcSptiUpdate = 1002;
inline constexpr int kIdcSptiFileOpen = 1003;
inline constexpr int kIdcSptiStatusBox = 1004;
inline constexpr int kIdcSptiStatusLabel = 1005;
inline constexpr int kIdcSptiAboutText = 1000;
inline constexpr int kIdcSptiProgressBar = 1008;
inline constexpr int kIdcSptiProgressLabel = 1009;

// Commands (the framework's stock ids where the command is a stock one).
inline constexpr int kIdFileNew = 0xE100;
inline constexpr int kIdFileOpen = 0xE101;
inline constexpr int kIdFileMruFirst = 0xE110;
inline constexpr int kIdAppAbout = 0xE140;
inline constexpr int kIdAppExit = 0xE141;
inline constexpr int kIdViewToolbar = 0xE800;
inline constexpr int kIdAspiFirmwareFileSearch = 32771;
inline constexpr int kIdAspiSystemInfo = 32774;
inline constexpr int kIdAspiToolbarMiddle = 32775;
inline constexpr int kIdSptiToolbarMiddle = 32771;

}  // namespace resources
