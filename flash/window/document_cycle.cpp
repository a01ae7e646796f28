// New and opened documents, the caption and the recent-file list.
#include "flash/window/document_cycle.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "drvcmd/notice.h"
#include "resources/flash/flash_strings.h"

namespace flash {
namespace {

// The framework opens the file (and reads nothing from it): a folder, a
// missing or an unreadable file cannot be opened.
bool CanOpen(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) || error) return false;
  std::ifstream file(path, std::ios::binary);
  return file.is_open();
}

}  // namespace

void DocumentCycle::NewDocument() {
  documentTitle_ = variant_.newDocumentTitle;
  frame_.SetCaption(Caption());
  frame_.InitialUpdate();
}

bool DocumentCycle::OpenDocument(const std::string& path) {
  if (!CanOpen(path)) {
    frame_.MessageBox(CannotOpenDocumentText(path), std::string(), drvcmd::kMbIconExclamation);
    recentFiles_.Remove(path);
    frame_.RecentFilesChanged();
    return false;
  }
  recentFiles_.Add(path);
  frame_.RecentFilesChanged();
  if (variant_.keepsDocumentTitles) {
    documentTitle_ = std::filesystem::path(path).filename().string();
  }
  frame_.SetCaption(Caption());
  frame_.InitialUpdate();
  return true;
}

std::string DocumentCycle::Caption() const {
  const std::string frameTitle = variant_.frameTitle;
  return variant_.documentTitleFirst ? documentTitle_ + " - " + frameTitle
                                     : frameTitle + " - " + documentTitle_;
}

std::string CannotOpenDocumentText(const std::string& path) {
  // The format has one "%s"; the path may hold "%" of its own.
  const std::string format = resources::kCannotOpenDocumentFormat;
  const std::size_t at = format.find("%s");
  return format.substr(0, at) + path + format.substr(at + 2);
}

std::optional<std::string> DocumentArgument(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (!argument.empty() && argument.front() != '-') return argument;
  }
  return std::nullopt;
}

}  // namespace flash
