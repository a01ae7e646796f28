// "\\.\X:" -> device path -> command and lock nodes.
#include "platform/linux/device_path.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr char kDevicePrefix[] = "\\\\.\\";
constexpr std::size_t kDevicePrefixLength = sizeof kDevicePrefix - 1;

}  // namespace

std::optional<char> DriveLetterOfDeviceName(const char* fileName) {
  if (fileName == nullptr || std::strncmp(fileName, kDevicePrefix, kDevicePrefixLength) != 0) {
    return std::nullopt;
  }
  const char* rest = fileName + kDevicePrefixLength;
  if (!std::isalpha(static_cast<unsigned char>(rest[0])) || rest[1] != ':' || rest[2] != '\0') {
    return std::nullopt;
  }
  return static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
}

DeviceNodes ResolveDeviceNodes(const SysfsLayout& layout, const std::string& devicePath) {
  // Follow links such as /dev/cdrom to the node whose name sysfs knows.
  std::error_code error;
  fs::path path = fs::canonical(devicePath, error);
  if (error) path = devicePath;
  const std::string name = path.filename().string();

  DeviceNodes nodes;
  nodes.commandNode = path.string();
  if (NumberAfterPrefix(name, "sr")) {
    // WRITE BUFFER needs the generic node: the block node refuses it without CAP_SYS_RAWIO.
    if (auto generic = GenericNodeOfBlock(layout, name)) nodes.commandNode = std::move(*generic);
    nodes.lockNode = path.string();
    nodes.address = AddressOfBlock(layout, name);
  } else if (NumberAfterPrefix(name, "sg")) {
    if (auto block = BlockDeviceOfGeneric(layout, name)) nodes.lockNode = std::move(*block);
    nodes.address = AddressOfGeneric(layout, name);
  }
  return nodes;
}

std::optional<std::string> DevicePathOfLetter(const SysfsLayout& layout,
                                              const std::optional<DriveMap>& explicitMap,
                                              char letter) {
  const DriveMap map = explicitMap ? *explicitMap : AssignDriveLetters(layout);
  const auto it = map.find(letter);
  if (it == map.end()) return std::nullopt;
  return it->second;
}

}  // namespace platform
