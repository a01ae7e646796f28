// Updater start-up, document arguments and shut-down.
#include "flash/app/updater_app.h"

#include <QApplication>
#include <QFile>

#include "flash/app/document_type_registration.h"
#include "flash/app/pixel_icons.h"
#include "startup/window_startup.h"
#include "ui/qt_window_system.h"

namespace flash {

UpdaterApp::UpdaterApp(const AppVariant& variant, platform::Platform& system)
    : variant_(variant),
      system_(system),
      windows_(variant.applicationTitle),
      settings_(QString::fromUtf8(variant.settingsKey),
                QString::fromUtf8(variant.applicationTitle)),
      recentFiles_(settings_, variant.recentFileCount) {}

UpdaterApp::~UpdaterApp() { Stop(); }

int UpdaterApp::Start(const QStringList& arguments) {
  recentFiles_.Load();
  frame_ = std::make_unique<MainFrame>(variant_, windows_, openFileDialog_, recentFiles_);
  fileDialogs_.SetOwner(frame_.get());
  updater_ = std::make_unique<Updater>(variant_.procedure, system_, frame_->View());

  const int startResult = updater_->Start();
  if (startResult != 0) {
    windows_.MessageBox(Updater::StartupMessage(startResult), std::string(), drvcmd::kMbOk);
    return startResult;
  }
  started_ = true;
  frame_->AttachUpdater(*updater_);

  if (variant_.hasSystemInfo) {
    systemInfo_ = system_.SystemInfoComponents().CreateSystemInfoComponent();
    frame_->SetSystemInfoComponent(systemInfo_.get());
  }

  std::vector<std::string> documentArguments;
  for (const QString& argument : arguments) {
    documentArguments.push_back(QFile::encodeName(argument).toStdString());
  }
  const std::optional<std::string> document = DocumentArgument(documentArguments);
  if (document.has_value()) {
    if (!frame_->OpenDocument(QFile::decodeName(document->c_str()))) {
      Stop();
      return -1;
    }
  } else {
    frame_->NewDocument();
  }
  return 0;
}

void UpdaterApp::Stop() {
  if (!started_) return;
  started_ = false;
  updater_->Stop();
}

int RunUpdaterProgram(int argc, char** argv, const AppVariant& variant) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(variant.applicationTitle));
  QApplication::setWindowIcon(IconFromPixels(resources::ProgramIcon()));

  std::unique_ptr<platform::Platform> system;
  {
    ui::QtWindowSystem windows(variant.applicationTitle);
    system = startup::OpenPlatformForWindows(windows);
  }
  if (system == nullptr) return 1;

  UpdaterApp app(variant, *system);
  if (app.Start(QApplication::arguments().mid(1)) != 0) return 1;
  if (variant.registersDocumentType) {
    // Like the shell registration it stands for, a failure here is not reported.
    RegisterDocumentType(DesktopDataHome(), DesktopConfigHome(),
                         QCoreApplication::applicationFilePath());
  }
  app.Frame().show();
  const int exitCode = application.exec();
  app.Stop();
  return exitCode;
}

}  // namespace flash
