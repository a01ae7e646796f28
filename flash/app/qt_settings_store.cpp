// Settings sections in QSettings, taking over where earlier versions kept them.
#include "flash/app/qt_settings_store.h"

#include <QFile>
#include <QSettings>
#include <memory>

#include "ui/settings_key.h"

namespace flash {

std::optional<std::string> QtSettingsStore::ReadValue(const std::string& section,
                                                      const std::string& name) {
  const QString group = QString::fromStdString(section);
  std::unique_ptr<QSettings> settings = ui::OpenUserSettings(organization_, application_);
  // A section kept where earlier versions put it is taken over until the first save.
  if (!settings->childGroups().contains(group) &&
      ui::SettingsFolderName(organization_) != organization_) {
    settings = ui::OpenEarlierUserSettings(organization_, application_);
  }
  settings->beginGroup(group);
  const QString key = QString::fromStdString(name);
  if (!settings->contains(key)) return std::nullopt;
  return QFile::encodeName(settings->value(key).toString()).toStdString();
}

bool QtSettingsStore::ReplaceSection(
    const std::string& section, const std::vector<std::pair<std::string, std::string>>& values) {
  const QString group = QString::fromStdString(section);
  const std::unique_ptr<QSettings> settings = ui::OpenUserSettings(organization_, application_);
  settings->remove(group);
  settings->beginGroup(group);
  for (const auto& [name, text] : values) {
    settings->setValue(QString::fromStdString(name), QFile::decodeName(text.c_str()));
  }
  settings->endGroup();
  settings->sync();
  return settings->status() == QSettings::NoError;
}

}  // namespace flash
