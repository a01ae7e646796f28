// toolgate start-up.
#include "launcher/app/launcher_app.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <memory>
#include <string>

#include "launcher/app/launcher_dialog.h"
#include "resources/launcher/launcher_icon.h"
#include "resources/launcher/launcher_strings.h"
#include "startup/startup_platform.h"

namespace launcher {

int RunLauncherProgram(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(resources::kLauncherApplicationTitle));
  QApplication::setWindowIcon(QIcon(QPixmap(resources::LauncherIconXpm().data())));
  ui::MessageBoxService messages(resources::kLauncherApplicationTitle);

  std::string error;
  std::unique_ptr<platform::Platform> system = startup::OpenStartupPlatform(&error);
  if (system == nullptr) {
    messages.MessageBox(error.empty() ? std::string("The platform could not be opened.") : error,
                        std::string(), drvcmd::kMbIconHand);
    return 1;
  }

  Launcher launcher(*system);
  launcher.CaptureSystem();
  LauncherDialog dialog(launcher, messages);
  messages.SetOwner(&dialog);
  // The program lives as long as its dialog: no message loop follows it.
  dialog.exec();
  return 0;
}

}  // namespace launcher
