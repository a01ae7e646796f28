// The Open-file dialog as the updater's window asks for it. Each frame shows
// its system's own dialog (QFileDialog, GetOpenFileNameA) and builds the
// filter in that system's form from the request.
#pragma once

#include <optional>
#include <string>

#include "flash/updater_ui.h"

namespace flash {

class OpenFileDialog {
 public:
  virtual ~OpenFileDialog() = default;
  // The chosen path in the system's 8-bit file-name encoding, or nothing when
  // the user cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) = 0;
};

}  // namespace flash
