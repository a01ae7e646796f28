// flashspti.exe and flashaspi.exe from start-up to exit on the Win32 window
// system: the transport's start, the recent-file list, the system-information
// component, the frame with its first document, the shell registration and
// the message loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "flash/updater.h"
#include "flash/win32/updater_frame.h"
#include "flash/window/app_variant.h"
#include "flash/window/open_file_dialog.h"
#include "flash/window/recent_file_list.h"
#include "flash/window/settings_store.h"
#include "platform/platform.h"
#include "ui/win32/win32_window_system.h"

namespace flash {

// The arguments the framework's command line gives the document cycle: every
// argument but the shell's switches ("/p", "-x", ...).
std::vector<std::string> DocumentArguments(const std::vector<std::string>& arguments);
// Whether the shell asked for the document to be printed ("/p", "/pt").
bool PrintRequested(const std::vector<std::string>& arguments);

// One updater program: what UpdaterApp is on the Qt host.
class Win32UpdaterApp {
 public:
  Win32UpdaterApp(const AppVariant& variant, ui::win32::Win32WindowSystem& windows,
                  platform::Platform& system, SettingsStore& settings, OpenFileDialog& fileDialog);
  ~Win32UpdaterApp();
  Win32UpdaterApp(const Win32UpdaterApp&) = delete;
  Win32UpdaterApp& operator=(const Win32UpdaterApp&) = delete;

  // Start-up up to a main frame ready to show, its first document opened (the
  // one named in `arguments`, or a new one): 0, or non-zero after the failure
  // was shown (the program then ends without a main window).
  int Start(const std::vector<std::string>& arguments);
  void Stop();

  Win32UpdaterFrame& Frame() { return frame_; }
  Updater& Program() { return updater_; }
  RecentFileList& RecentFiles() { return recentFiles_; }

 private:
  const AppVariant& variant_;
  ui::win32::Win32WindowSystem& windows_;
  platform::Platform& system_;
  RecentFileList recentFiles_;
  std::unique_ptr<platform::SystemInfoComponent> systemInfo_;
  Win32UpdaterFrame frame_;
  Updater updater_;  // after the frame: it talks to the frame's view
  bool started_ = false;
};

struct Win32UpdaterBuild {
  const AppVariant& variant;
  const char* documentString;  // resource 128's: what the shell registration reads
};

// The whole program; `arguments`: the command line after the program name.
// Returns the exit code.
int RunWin32UpdaterProgram(ui::win32::Win32WindowSystem& windows, const Win32UpdaterBuild& build,
                           const std::vector<std::string>& arguments);

}  // namespace flash
