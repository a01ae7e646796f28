// The updaters' settings in the user's QSettings under the settings key, as
// the recent-file list keeps them ("Recent File List", "File1".."FileN").
#pragma once

#include <QString>

#include "flash/window/settings_store.h"

namespace flash {

class QtSettingsStore : public SettingsStore {
 public:
  // organization: the settings key; application: the application title.
  QtSettingsStore(QString organization, QString application)
      : organization_(std::move(organization)), application_(std::move(application)) {}

  std::optional<std::string> ReadValue(const std::string& section,
                                       const std::string& name) override;
  bool ReplaceSection(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& values) override;

 private:
  QString organization_;
  QString application_;
};

}  // namespace flash
