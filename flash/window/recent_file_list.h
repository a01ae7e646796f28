// The recent-file list kept in the settings: section "Recent File List",
// values "File1".."FileN", most recent first.
#pragma once

#include <string>
#include <vector>

#include "flash/window/settings_store.h"

namespace flash {

class RecentFileList {
 public:
  RecentFileList(SettingsStore& store, int capacity) : store_(store), capacity_(capacity) {}

  void Load();
  // Moves or adds a path (made absolute) to the top and saves the list.
  void Add(const std::string& path);
  // Drops an entry (a file that could not be opened) and saves the list.
  void Remove(const std::string& path);

  const std::vector<std::string>& Entries() const { return entries_; }
  int Capacity() const { return capacity_; }

 private:
  void Save();

  SettingsStore& store_;
  int capacity_;
  std::vector<std::string> entries_;
};

// The menu text of entry `index` (from 0): "&1 path", the framework's numbering.
std::string RecentFileMenuText(int index, const std::string& path);

}  // namespace flash
