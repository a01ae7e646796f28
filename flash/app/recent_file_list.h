// The recent-file list kept under the settings key: section "Recent File List",
// values "File1".."FileN", most recent first.
#pragma once

#include <QString>
#include <QStringList>

namespace flash {

class RecentFileList {
 public:
  // organization: the settings key; application: the application title.
  RecentFileList(QString organization, QString application, int capacity);

  void Load();
  // Moves or adds a path to the top and saves the list.
  void Add(const QString& path);
  // Drops an entry (a file that could not be opened) and saves the list.
  void Remove(const QString& path);

  const QStringList& Entries() const { return entries_; }
  int Capacity() const { return capacity_; }

 private:
  void Save() const;

  QString organization_;
  QString application_;
  int capacity_;
  QStringList entries_;
};

}  // namespace flash
