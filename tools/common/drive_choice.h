// How the twins name a drive on the command line (a letter, an ASPI target
// or a device node) and which entry of the window's own drive table that is:
// a drive the scan does not list is never addressed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "drvcmd/drive_list.h"
#include "platform/platform.h"

namespace tools {

struct DriveName {
  enum class Kind { kLetter, kAspi, kNode };
  Kind kind = Kind::kLetter;
  char letter = 0;  // upper case
  std::uint8_t adapter = 0;
  std::uint8_t target = 0;
  std::string node;
};

// "E" or "e:".
std::optional<DriveName> ParseDriveLetter(std::string_view text);
// "HA:ID", adapter 0-255, target 0-15.
std::optional<DriveName> ParseAspiTarget(std::string_view text);
// A letter, or a device node (a path, "/dev/sr0").
std::optional<DriveName> ParseDriveOperand(std::string_view text);

// How the drive is named in messages: "E:", "ASPI 1:0", "/dev/sr0".
std::string DriveNameText(const DriveName& name);

// The index of the named drive in the table, or drvcmd::kNoItem when the
// table does not list it. Nodes are compared with the nodes the platform
// knows behind each entry, links followed.
int FindListedDrive(const drvcmd::DriveCombo& drives, platform::Platform& system,
                    const DriveName& name);

// The nodes behind one entry of a drive table.
std::vector<std::string> NodesOfEntry(platform::Platform& system,
                                      const drvcmd::DriveAddress& address);

}  // namespace tools
