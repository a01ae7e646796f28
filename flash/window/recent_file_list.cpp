// The recent-file list on a settings store.
#include "flash/window/recent_file_list.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "resources/flash/flash_strings.h"

namespace flash {
namespace {

constexpr std::size_t kEntryNameCapacity = 32;

std::string EntryName(int number) {
  char name[kEntryNameCapacity] = {};
  std::snprintf(name, sizeof name, resources::kRecentFileEntryFormat, number);
  return name;
}

// The path as the list keeps it: absolute, without "." and "..", in the
// system's own separators. A path that cannot be made absolute stays as given.
std::string ListedPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) return path;
  return absolute.lexically_normal().make_preferred().string();
}

}  // namespace

void RecentFileList::Load() {
  entries_.clear();
  for (int number = 1; number <= capacity_; ++number) {
    const std::optional<std::string> path =
        store_.ReadValue(resources::kRecentFileSection, EntryName(number));
    if (!path.has_value() || path->empty()) continue;
    if (std::find(entries_.begin(), entries_.end(), *path) == entries_.end()) {
      entries_.push_back(*path);
    }
  }
}

void RecentFileList::Add(const std::string& path) {
  const std::string listed = ListedPath(path);
  std::erase(entries_, listed);
  entries_.insert(entries_.begin(), listed);
  if (entries_.size() > static_cast<std::size_t>(std::max(capacity_, 0))) {
    entries_.resize(static_cast<std::size_t>(std::max(capacity_, 0)));
  }
  Save();
}

void RecentFileList::Remove(const std::string& path) {
  if (std::erase(entries_, path) > 0) Save();
}

void RecentFileList::Save() {
  std::vector<std::pair<std::string, std::string>> values;
  values.reserve(entries_.size());
  for (std::size_t index = 0; index < entries_.size(); ++index) {
    values.emplace_back(EntryName(static_cast<int>(index) + 1), entries_[index]);
  }
  // Like the framework, a list that cannot be saved still holds for this run.
  store_.ReplaceSection(resources::kRecentFileSection, values);
}

std::string RecentFileMenuText(int index, const std::string& path) {
  return "&" + std::to_string(index + 1) + " " + path;
}

}  // namespace flash
