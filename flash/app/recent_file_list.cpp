// Recent files in the user's settings under the settings key.
#include "flash/app/recent_file_list.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "resources/flash/flash_strings.h"
#include "ui/settings_key.h"

namespace flash {
namespace {

QString EntryKey(int number) {
  return QString::asprintf(resources::kRecentFileEntryFormat, number);
}

}  // namespace

RecentFileList::RecentFileList(QString organization, QString application, int capacity)
    : organization_(std::move(organization)),
      application_(std::move(application)),
      capacity_(capacity) {}

void RecentFileList::Load() {
  entries_.clear();
  const QString section = QString::fromLatin1(resources::kRecentFileSection);
  std::unique_ptr<QSettings> settings = ui::OpenUserSettings(organization_, application_);
  // A list kept where earlier versions put it is taken over until the first save.
  if (!settings->childGroups().contains(section) &&
      ui::SettingsFolderName(organization_) != organization_) {
    settings = ui::OpenEarlierUserSettings(organization_, application_);
  }
  settings->beginGroup(section);
  for (int number = 1; number <= capacity_; ++number) {
    const QString path = settings->value(EntryKey(number)).toString();
    if (!path.isEmpty() && !entries_.contains(path)) entries_.append(path);
  }
}

void RecentFileList::Add(const QString& path) {
  const QString absolute = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
  entries_.removeAll(absolute);
  entries_.prepend(absolute);
  while (entries_.size() > capacity_) entries_.removeLast();
  Save();
}

void RecentFileList::Remove(const QString& path) {
  if (entries_.removeAll(path) > 0) Save();
}

void RecentFileList::Save() const {
  const std::unique_ptr<QSettings> settings = ui::OpenUserSettings(organization_, application_);
  settings->remove(QString::fromLatin1(resources::kRecentFileSection));
  settings->beginGroup(QString::fromLatin1(resources::kRecentFileSection));
  for (int index = 0; index < entries_.size(); ++index) {
    settings->setValue(EntryKey(index + 1), entries_[index]);
  }
  settings->endGroup();
  settings->sync();
}

}  // namespace flash
