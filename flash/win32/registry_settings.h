// The updater's settings in the registry, as the framework keeps them:
// HKEY_CURRENT_USER\Software\<settings key>\<application>\<section>, string
// values. Only the recent-file list lives there.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "flash/window/settings_store.h"

namespace flash {

class RegistrySettings : public SettingsStore {
 public:
  // settingsKey: "Tavreon DVD-ROM F/W Updater"; application: the program's title.
  RegistrySettings(std::string settingsKey, std::string application);

  // The key path below HKEY_CURRENT_USER of a section.
  std::string SectionPath(const std::string& section) const;

  // A string value, or nothing when the section or the value is missing or is
  // not a string.
  std::optional<std::string> ReadValue(const std::string& section,
                                       const std::string& name) override;
  // Deletes the section's key and writes it anew with `values`, in order.
  // False when the registry refuses.
  bool ReplaceSection(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& values) override;

 private:
  std::string applicationPath_;  // "Software\<key>\<application>"
};

}  // namespace flash
