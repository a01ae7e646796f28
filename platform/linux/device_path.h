// Drive letters of "\\.\X:" names and the device nodes behind them.
#pragma once

#include <optional>
#include <string>

#include "platform/linux/drive_map.h"
#include "platform/linux/sysfs_tree.h"

namespace platform {

// 'X' (upper case) for "\\.\X:" (either case); nullopt for anything else.
std::optional<char> DriveLetterOfDeviceName(const char* fileName);

// Where a drive's commands go and which node carries its advisory lock.
struct DeviceNodes {
  std::string commandNode;                   // the SCSI generic node when sysfs names one
  std::string lockNode;                      // the block device; empty: lock the command node
  std::optional<ScsiDeviceAddress> address;  // from sysfs, when known
};

// For a configured device path (/dev/srN, /dev/sgM, or a link to one).
DeviceNodes ResolveDeviceNodes(const SysfsLayout& layout, const std::string& devicePath);

// The device path of a letter: from the explicit map when one is given,
// otherwise from the optical drives in sysfs order; nullopt when none.
std::optional<std::string> DevicePathOfLetter(const SysfsLayout& layout,
                                              const std::optional<DriveMap>& explicitMap,
                                              char letter);

}  // namespace platform
