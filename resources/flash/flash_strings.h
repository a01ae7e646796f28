// The updaters' fixed texts: titles, document strings, settings keys, About
// texts, file dialog, System Info.
#pragma once

namespace resources {

// flashaspi
inline constexpr char kAspiApplicationTitle[] = "flashaspi";
inline constexpr char kAspiDocumentString[] =
    "FLASHKIT\n\nFLASHKIT\nUpdate Files (*.hex)\n.hex\nFLASHKIT.Document\nFLASHKIT Document";
inline constexpr char kAspiDocumentTitle[] = "DVD-ROM Firmware Update Tool for Win32";
inline constexpr char kAspiSettingsKey[] = "Tavreon DVD-ROM F/W Updater";
inline constexpr int kAspiRecentFileCount = 10;
inline constexpr char kAspiAboutVersionFormat[] = "Firmware Update Utility Version %1d.%02d";
inline constexpr int kAspiVersionMajor = 0;
inline constexpr int kAspiVersionMinor = 3;

// flashspti
inline constexpr char kSptiApplicationTitle[] = "flashspti";
inline constexpr char kSptiDocumentString[] = "Update DVD for W2K";
inline constexpr char kSptiSettingsKey[] = "Tavreon Firmware Update Utility for Win32";
inline constexpr int kSptiRecentFileCount = 5;
inline constexpr char kSptiAboutTextFormat[] =
    "DVD-ROM Firmware Update Tool for Windows2000\r\nVersion %01d.%02d";
inline constexpr int kSptiVersionMajor = 0;
inline constexpr int kSptiVersionMinor = 1;

// Both builds.
inline constexpr char kRecentFileSection[] = "Recent File List";
inline constexpr char kRecentFileEntryFormat[] = "File%d";
inline constexpr char kConfirmMessage[] = "Do you want to update the firmware ?";
inline constexpr char kIdentityFormat[] = "%.24s %.4s";
inline constexpr char kHexFileFilterPattern[] = "(*.hex *.HEX)";

// System Info (flashaspi).
inline constexpr char kSystemInfoFormat[] = "Platform = %x\r\n OS Verison = %1.3lf.%d";
inline constexpr char kSystemInfoCaption[] = "System Information";
inline constexpr char kSystemInfoUnavailable[] =
    "The system information is not available on this computer.";

// An opened document that cannot be read.
inline constexpr char kCannotOpenDocumentFormat[] =
    "%s\r\nCannot find this file.\r\nPlease verify that the correct path and file name are given.";

}  // namespace resources
