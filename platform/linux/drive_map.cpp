// Parser of the DVDUTIL_DRIVES map.
#include "platform/linux/drive_map.h"

#include <cctype>

namespace platform {

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

bool Fail(std::string* error, std::string_view entry, std::string_view why) {
  if (error != nullptr) {
    *error = std::string(kDrivesEnvironmentVariable) + ": entry \"" + std::string(entry) + "\" " +
             std::string(why) + " (expected e.g. \"D=/dev/sr0,E=/dev/sg3\")";
  }
  return false;
}

}  // namespace

bool ParseDriveMap(std::string_view text, DriveMap* map, std::string* error) {
  DriveMap parsed;
  std::string_view rest = text;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view entry = Trim(rest.substr(0, comma));
    if (entry.empty()) return Fail(error, entry, "is empty");
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) return Fail(error, entry, "has no \"=\"");
    const std::string_view letterText = Trim(entry.substr(0, equals));
    const std::string_view path = Trim(entry.substr(equals + 1));
    if (letterText.size() != 1 || !std::isalpha(static_cast<unsigned char>(letterText[0]))) {
      return Fail(error, entry, "does not start with one drive letter");
    }
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letterText[0])));
    // A, B and C are never probed by the programs, so a map naming them is a mistake.
    if (letter < 'D') return Fail(error, entry, "names a letter outside D to Z");
    if (path.empty() || path.front() != '/') {
      return Fail(error, entry, "does not give an absolute device path");
    }
    if (!parsed.emplace(letter, std::string(path)).second) {
      return Fail(error, entry, "gives a drive letter a second time");
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  *map = std::move(parsed);
  return true;
}

}  // namespace platform
