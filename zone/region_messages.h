// The region utility's fixed texts, exactly as the users have always seen them.
#pragma once

namespace zone {

inline constexpr char kNotSelectedText[] = "Valid Item is not selected.\r\n";
inline constexpr char kDeviceOpenFailedFormat[] = "Device open (%c) is fail.\r\n";
inline constexpr char kDriveRegionFailedText[] = "Get drive region is failed.\r\n";
inline constexpr char kChangesLeftFormat[] = "Regional code can be changed %dtime(s)";
inline constexpr char kNoRpc2Text[] = "This drive does not support RPC2";
inline constexpr char kDriveRegionFormat[] = "Drive's region is %d.\r\n";
inline constexpr char kDriveNoRegionText[] = "Drive has no region.\r\n";
inline constexpr char kUnknownRegionFormat[] = "Invalid or Unknown region (%02xh).\r\n";
inline constexpr char kDiscRegionFailedText[] = "Get disc region is failed.\r\n";
inline constexpr char kUnprotectedDiscText[] =
    "No copyright protrction disc. All region is allowed.\r\n";
inline constexpr char kDiscRegionsStart[] = "This disc is allowed region";
inline constexpr char kUnknownProtectionText[] = "Unknown copyright protection type.\r\n";
inline constexpr char kLineEnd[] = "\r\n";

inline constexpr char kPermanentText[] = "Drive regional code is already permanent state.\r\n";
inline constexpr char kDiscMissingText[] =
    "Disc is not present !\r\nPlease insert approproiate disc";
inline constexpr char kDiscMissingCaption[] = "Attention";
inline constexpr char kCanceledText[] = "Operation is canceled.\r\n";
inline constexpr char kNoChoiceText[] = "Appropriate region is not selected.\r\n";
inline constexpr char kRegionSetText[] = "Success to set regional code.\r\n";

}  // namespace zone
