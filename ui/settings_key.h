// Settings under a program's settings key. The key is one name, but QSettings
// makes its organization part a folder path, so a key with a slash ("F/W")
// would become two nested folders; the slash is stored as a look-alike that a
// file name can hold, keeping one folder whose name reads like the key.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace ui {

// The folder name for a settings key: every '/' becomes U+2215 (division slash).
QString SettingsFolderName(const QString& key);

// The user's settings of `application` under `key`.
std::unique_ptr<QSettings> OpenUserSettings(const QString& key, const QString& application);

// Where earlier versions kept them (the key used as it is, slashes and all):
// read once when the new place has nothing yet, so no setting is lost.
std::unique_ptr<QSettings> OpenEarlierUserSettings(const QString& key, const QString& application);

}  // namespace ui
