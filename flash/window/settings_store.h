// Where the updaters keep their settings between runs: sections of named text
// values under the build's settings key. Qt keeps them with QSettings, the
// Windows build in the registry under HKEY_CURRENT_USER.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace flash {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The value `name` of `section`; nothing when either is not there.
  virtual std::optional<std::string> ReadValue(const std::string& section,
                                               const std::string& name) = 0;
  // Replaces the whole section with `values` (name, text), in order; false
  // when the store cannot be written.
  virtual bool ReplaceSection(const std::string& section,
                              const std::vector<std::pair<std::string, std::string>>& values) = 0;
};

}  // namespace flash
