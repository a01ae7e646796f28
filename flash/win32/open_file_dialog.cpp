// GetOpenFileNameA for the loader.
#include "flash/win32/open_file_dialog.h"

#include <commdlg.h>

#include <vector>

namespace flash {
namespace {

// Room for the longest path the dialog hands back with the "A" calls.
constexpr std::size_t kPathCapacity = 1024;
// Case does not matter to the dialog's patterns.
constexpr char kHexPattern[] = "*.hex";

}  // namespace

std::string OpenFileFilter(const std::string& description) {
  std::string filter = description;
  filter.push_back('\0');
  filter += kHexPattern;
  filter.push_back('\0');
  filter.push_back('\0');
  return filter;
}

std::optional<std::string> ShowOpenFileDialog(HWND owner, const OpenFileRequest& request) {
  std::vector<char> path(kPathCapacity, '\0');
  // A kept path too long for the buffer is not offered rather than cut.
  if (request.initialFileName.size() < path.size()) {
    request.initialFileName.copy(path.data(), request.initialFileName.size());
  }
  const std::string filter = OpenFileFilter(request.filterDescription);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
  dialog.lpstrTitle = request.title.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
  if (!::GetOpenFileNameA(&dialog)) return std::nullopt;
  return std::string(path.data());
}

}  // namespace flash
