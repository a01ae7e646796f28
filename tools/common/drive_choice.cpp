// Drive names on the command line and their entries in a drive table.
#include "tools/common/drive_choice.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace tools {
namespace {

constexpr unsigned kMaxAdapter = 0xFF;
constexpr unsigned kMaxTarget = 0x0F;

std::string SameFileName(const std::string& path) {
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

}  // namespace

std::optional<DriveName> ParseDriveLetter(std::string_view text) {
  if (text.size() == 2 && text[1] == ':') text.remove_suffix(1);
  if (text.size() != 1 || !std::isalpha(static_cast<unsigned char>(text[0]))) return std::nullopt;
  DriveName name;
  name.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return name;
}

std::optional<DriveName> ParseAspiTarget(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto parse = [](std::string_view part, unsigned max, unsigned& value) {
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    return !part.empty() && ec == std::errc() && end == part.data() + part.size() && value <= max;
  };
  unsigned adapter = 0;
  unsigned target = 0;
  if (!parse(text.substr(0, colon), kMaxAdapter, adapter) ||
      !parse(text.substr(colon + 1), kMaxTarget, target)) {
    return std::nullopt;
  }
  DriveName name;
  name.kind = DriveName::Kind::kAspi;
  name.adapter = static_cast<std::uint8_t>(adapter);
  name.target = static_cast<std::uint8_t>(target);
  return name;
}

std::optional<DriveName> ParseDriveOperand(std::string_view text) {
  if (auto letter = ParseDriveLetter(text)) return letter;
  if (!text.starts_with("/")) return std::nullopt;
  DriveName name;
  name.kind = DriveName::Kind::kNode;
  name.node = std::string(text);
  return name;
}

std::string DriveNameText(const DriveName& name) {
  switch (name.kind) {
    case DriveName::Kind::kLetter:
      return std::string(1, name.letter) + ":";
    case DriveName::Kind::kAspi:
      return "ASPI " + std::to_string(name.adapter) + ":" + std::to_string(name.target);
    case DriveName::Kind::kNode:
      break;
  }
  return name.node;
}

std::vector<std::string> NodesOfEntry(platform::Platform& system,
                                      const drvcmd::DriveAddress& address) {
  return address.letter != 0 ? system.NodesOfLetter(address.letter)
                             : system.NodesOfTarget(address.adapter, address.target);
}

int FindListedDrive(const drvcmd::DriveCombo& drives, platform::Platform& system,
                    const DriveName& name) {
  const std::string wanted = name.kind == DriveName::Kind::kNode ? SameFileName(name.node) : "";
  for (std::size_t i = 0; i < drives.addresses.size(); ++i) {
    const drvcmd::DriveAddress& address = drives.addresses[i];
    bool match = false;
    switch (name.kind) {
      case DriveName::Kind::kLetter:
        match = address.letter == name.letter;
        break;
      case DriveName::Kind::kAspi:
        match =
            address.letter == 0 && address.adapter == name.adapter && address.target == name.target;
        break;
      case DriveName::Kind::kNode: {
        const std::vector<std::string> nodes = NodesOfEntry(system, address);
        match = std::any_of(nodes.begin(), nodes.end(), [&](const std::string& node) {
          return node == name.node || SameFileName(node) == wanted;
        });
        break;
      }
    }
    if (match) return static_cast<int>(i);
  }
  return drvcmd::kNoItem;
}

}  // namespace tools
