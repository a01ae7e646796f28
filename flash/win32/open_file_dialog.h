// File Open through the system's Open-file dialog (GetOpenFileNameA), as the
// loader asks for it: title, initial folder and file, one filter entry.
#pragma once

#include <optional>
#include <string>

#include "flash/updater_ui.h"
#include "flash/window/open_file_dialog.h"
#include "platform/windows/win32.h"

namespace flash {

// The filter list: the loader's description with the HEX pattern, then the
// double terminator the dialog expects.
std::string OpenFileFilter(const std::string& description);

// The chosen path, or nothing when the user cancelled or the dialog failed.
std::optional<std::string> ShowOpenFileDialog(HWND owner, const OpenFileRequest& request);

// The dialog owned by the main frame, once it exists.
class Win32OpenFileDialog : public OpenFileDialog {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) override {
    return ShowOpenFileDialog(owner_, request);
  }

 private:
  HWND owner_ = nullptr;
};

}  // namespace flash
