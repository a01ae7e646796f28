// What sysfs tells about optical drives, SCSI generic nodes and SCSI hosts.
// The sysfs and /dev roots are injectable so that tests use a fake tree.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct SysfsLayout {
  std::string sysRoot = "/sys";
  std::string devRoot = "/dev";
};

struct ScsiDeviceAddress {
  int host = 0;
  int channel = 0;
  int target = 0;
  int lun = 0;
  auto operator<=>(const ScsiDeviceAddress&) const = default;
};

struct ScsiGenericNode {
  std::string name;  // "sg3"
  ScsiDeviceAddress address;
};

// The number after a fixed prefix ("sr12" with "sr" -> 12); nullopt otherwise.
std::optional<int> NumberAfterPrefix(const std::string& name, const std::string& prefix);

// "H:C:T:L" -> address; nullopt when malformed.
std::optional<ScsiDeviceAddress> ParseScsiDeviceName(const std::string& name);

// Optical block devices ("sr0", "sr1", ...) in number order.
std::vector<std::string> ListOpticalDrives(const SysfsLayout& layout);

// Letters from D: in the order of ListOpticalDrives, mapped to devRoot/srN.
std::map<char, std::string> AssignDriveLetters(const SysfsLayout& layout);

// The SCSI generic node (devRoot/sgM) of a block device name ("sr0").
std::optional<std::string> GenericNodeOfBlock(const SysfsLayout& layout,
                                              const std::string& blockName);

// The block device (devRoot/srN) of a SCSI generic node name ("sg1").
std::optional<std::string> BlockDeviceOfGeneric(const SysfsLayout& layout,
                                                const std::string& genericName);

// The SCSI address of a block or generic device, from its sysfs "device" link.
std::optional<ScsiDeviceAddress> AddressOfBlock(const SysfsLayout& layout,
                                                const std::string& blockName);
std::optional<ScsiDeviceAddress> AddressOfGeneric(const SysfsLayout& layout,
                                                  const std::string& genericName);

// Whether the SCSI generic driver is loaded.
bool ScsiGenericDriverPresent(const SysfsLayout& layout);

// Every SCSI generic node with its address, ordered by address.
std::vector<ScsiGenericNode> ListScsiGenericNodes(const SysfsLayout& layout);

// The driver name of a SCSI host ("ahci"); empty when unknown.
std::string HostDriverName(const SysfsLayout& layout, int host);

// Whether a host driver is a libata one (ahci, ata_piix, ata_generic, pata_*,
// sata_*): its optical drives are ATAPI drives.
bool IsLibataDriver(const std::string& driverName);
bool HostIsAtapi(const SysfsLayout& layout, int host);

}  // namespace platform
