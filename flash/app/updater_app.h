// UpdaterApp: one updater program from start-up to exit: the program object,
// the main frame, the message and file dialogs, the recent-file list and (in
// flashaspi) the system-information component.
#pragma once

#include <QStringList>
#include <memory>

#include "flash/app/main_frame.h"
#include "flash/app/qt_open_file_dialog.h"
#include "flash/app/qt_settings_store.h"
#include "flash/updater.h"
#include "flash/window/app_variant.h"
#include "flash/window/recent_file_list.h"
#include "platform/platform.h"
#include "ui/file_dialog_service.h"
#include "ui/message_box_service.h"
#include "ui/qt_window_system.h"

namespace flash {

class UpdaterApp {
 public:
  UpdaterApp(const AppVariant& variant, platform::Platform& system);
  ~UpdaterApp();
  UpdaterApp(const UpdaterApp&) = delete;
  UpdaterApp& operator=(const UpdaterApp&) = delete;

  // Start-up up to a main window ready to show: 0, or non-zero after the
  // failure was shown (the program then ends without a main window).
  // `arguments`: the command line after the program name.
  int Start(const QStringList& arguments);
  void Stop();

  MainFrame& Frame() { return *frame_; }
  Updater& Program() { return *updater_; }
  ui::QtWindowSystem& Windows() { return windows_; }
  ui::MessageBoxService& Messages() { return windows_.Messages(); }
  ui::FileDialogService& FileDialogs() { return fileDialogs_; }
  RecentFileList& RecentFiles() { return recentFiles_; }

 private:
  const AppVariant& variant_;
  platform::Platform& system_;
  ui::QtWindowSystem windows_;
  ui::FileDialogService fileDialogs_;
  QtOpenFileDialog openFileDialog_{fileDialogs_};
  QtSettingsStore settings_;
  RecentFileList recentFiles_;
  std::unique_ptr<platform::SystemInfoComponent> systemInfo_;
  std::unique_ptr<MainFrame> frame_;
  std::unique_ptr<Updater> updater_;  // declared last: it uses the frame's view
  bool started_ = false;
};

// The whole program: QApplication, platform choice, UpdaterApp, event loop.
int RunUpdaterProgram(int argc, char** argv, const AppVariant& variant);

}  // namespace flash
