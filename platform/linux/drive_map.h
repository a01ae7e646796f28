// The explicit drive-letter map of DVDUTIL_DRIVES ("D=/dev/sr1,E=/dev/sg3").
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace platform {

inline constexpr char kDrivesEnvironmentVariable[] = "DVDUTIL_DRIVES";

// Letter (upper case) -> device path.
using DriveMap = std::map<char, std::string>;

// False with a message quoting the offending entry when the text is malformed:
// an entry without "=", a letter outside D..Z, a path that is not absolute, a
// letter given twice, or an empty entry.
bool ParseDriveMap(std::string_view text, DriveMap* map, std::string* error);

}  // namespace platform
