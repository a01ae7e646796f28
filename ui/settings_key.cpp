// Settings keys as folder names.
#include "ui/settings_key.h"

namespace ui {

QString SettingsFolderName(const QString& key) {
  QString folder = key;
  folder.replace(QLatin1Char('/'), QChar(0x2215));
  return folder;
}

std::unique_ptr<QSettings> OpenUserSettings(const QString& key, const QString& application) {
  return std::make_unique<QSettings>(SettingsFolderName(key), application);
}

std::unique_ptr<QSettings> OpenEarlierUserSettings(const QString& key, const QString& application) {
  return std::make_unique<QSettings>(key, application);
}

}  // namespace ui
