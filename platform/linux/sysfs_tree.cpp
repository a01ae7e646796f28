// Reads of /sys/class/{block,scsi_generic,scsi_host}.
#include "platform/linux/sysfs_tree.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr int kFirstDriveLetter = 'D';
constexpr std::array<const char*, 3> kLibataDrivers = {"ahci", "ata_piix", "ata_generic"};
constexpr std::array<const char*, 2> kLibataDriverPrefixes = {"pata_", "sata_"};
constexpr int kLastDriveLetter = 'Z';

// Names of the entries of a directory; empty when it cannot be read.
std::vector<std::string> EntryNames(const fs::path& directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  return names;
}

// Sorts names that share a prefix by the number after it, dropping the others.
std::vector<std::string> NumberedNames(const fs::path& directory, const std::string& prefix) {
  std::vector<std::pair<int, std::string>> numbered;
  for (auto& name : EntryNames(directory)) {
    if (const auto number = NumberAfterPrefix(name, prefix)) numbered.emplace_back(*number, name);
  }
  std::sort(numbered.begin(), numbered.end());
  std::vector<std::string> names;
  for (auto& [number, name] : numbered) names.push_back(std::move(name));
  return names;
}

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty() || value < 0) {
    return std::nullopt;
  }
  return value;
}

// The "device" link of a class entry leads to the SCSI device directory "H:C:T:L".
std::optional<ScsiDeviceAddress> AddressOfClassEntry(const fs::path& entry) {
  std::error_code error;
  const fs::path device = fs::canonical(entry / "device", error);
  if (error) return std::nullopt;
  return ParseScsiDeviceName(device.filename().string());
}

}  // namespace

std::optional<int> NumberAfterPrefix(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
    return std::nullopt;
  }
  return ParseNumber(std::string_view(name).substr(prefix.size()));
}

std::optional<ScsiDeviceAddress> ParseScsiDeviceName(const std::string& name) {
  int parts[4] = {};
  std::string_view rest = name;
  for (int i = 0; i < 4; ++i) {
    const std::size_t colon = rest.find(':');
    if ((i < 3) == (colon == std::string_view::npos)) return std::nullopt;
    const auto number = ParseNumber(rest.substr(0, colon));
    if (!number) return std::nullopt;
    parts[i] = *number;
    if (i < 3) rest.remove_prefix(colon + 1);
  }
  return ScsiDeviceAddress{parts[0], parts[1], parts[2], parts[3]};
}

std::vector<std::string> ListOpticalDrives(const SysfsLayout& layout) {
  return NumberedNames(fs::path(layout.sysRoot) / "class" / "block", "sr");
}

std::map<char, std::string> AssignDriveLetters(const SysfsLayout& layout) {
  std::map<char, std::string> letters;
  int letter = kFirstDriveLetter;
  for (const auto& name : ListOpticalDrives(layout)) {
    if (letter > kLastDriveLetter) break;
    letters.emplace(static_cast<char>(letter++), (fs::path(layout.devRoot) / name).string());
  }
  return letters;
}

std::optional<std::string> GenericNodeOfBlock(const SysfsLayout& layout,
                                              const std::string& blockName) {
  const auto names = NumberedNames(
      fs::path(layout.sysRoot) / "class" / "block" / blockName / "device" / "scsi_generic", "sg");
  if (names.empty()) return std::nullopt;
  return (fs::path(layout.devRoot) / names.front()).string();
}

std::optional<std::string> BlockDeviceOfGeneric(const SysfsLayout& layout,
                                                const std::string& genericName) {
  const auto names = NumberedNames(
      fs::path(layout.sysRoot) / "class" / "scsi_generic" / genericName / "device" / "block", "sr");
  if (names.empty()) return std::nullopt;
  return (fs::path(layout.devRoot) / names.front()).string();
}

std::optional<ScsiDeviceAddress> AddressOfBlock(const SysfsLayout& layout,
                                                const std::string& blockName) {
  return AddressOfClassEntry(fs::path(layout.sysRoot) / "class" / "block" / blockName);
}

std::optional<ScsiDeviceAddress> AddressOfGeneric(const SysfsLayout& layout,
                                                  const std::string& genericName) {
  return AddressOfClassEntry(fs::path(layout.sysRoot) / "class" / "scsi_generic" / genericName);
}

bool ScsiGenericDriverPresent(const SysfsLayout& layout) {
  std::error_code error;
  return fs::is_directory(fs::path(layout.sysRoot) / "class" / "scsi_generic", error);
}

std::vector<ScsiGenericNode> ListScsiGenericNodes(const SysfsLayout& layout) {
  std::vector<ScsiGenericNode> nodes;
  const fs::path classDir = fs::path(layout.sysRoot) / "class" / "scsi_generic";
  for (const auto& name : NumberedNames(classDir, "sg")) {
    if (const auto address = AddressOfClassEntry(classDir / name)) {
      nodes.push_back({name, *address});
    }
  }
  std::stable_sort(nodes.begin(), nodes.end(),
                   [](const auto& a, const auto& b) { return a.address < b.address; });
  return nodes;
}

std::string HostDriverName(const SysfsLayout& layout, int host) {
  std::ifstream file(fs::path(layout.sysRoot) / "class" / "scsi_host" /
                     ("host" + std::to_string(host)) / "proc_name");
  std::string name;
  if (!std::getline(file, name)) return {};
  while (!name.empty() && (name.back() == '\n' || name.back() == ' ')) name.pop_back();
  return name;
}

bool IsLibataDriver(const std::string& driverName) {
  for (const char* driver : kLibataDrivers) {
    if (driverName == driver) return true;
  }
  for (const char* prefix : kLibataDriverPrefixes) {
    if (driverName.starts_with(prefix)) return true;
  }
  return false;
}

bool HostIsAtapi(const SysfsLayout& layout, int host) {
  return IsLibataDriver(HostDriverName(layout, host));
}

}  // namespace platform
