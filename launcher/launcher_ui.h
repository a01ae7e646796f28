// Everything the launcher's operations ask of the user interface. The Qt
// dialog implements it; tests use a scripted fake that records every call.
#pragma once

#include <functional>
#include <string>

#include "platform/win_types.h"

namespace launcher {

// MessageBox style of the launcher's boxes: an OK button, no icon.
inline constexpr unsigned kMbOk = 0x00000000u;

class LauncherUi {
 public:
  virtual ~LauncherUi() = default;

  // The system report field, and writing the field into the information box.
  virtual void SetReportText(const std::string& text) = 0;
  virtual void RefreshReport() = 0;

  // A message box with the application title as its caption.
  virtual int MessageBox(const std::string& text, unsigned style) = 0;

  // Runs `wait` (the wait for a started tool) to its end. Meanwhile the
  // windows stay painted and answer no input.
  virtual platform::Dword WaitForTool(const std::function<platform::Dword()>& wait) = 0;
};

}  // namespace launcher
