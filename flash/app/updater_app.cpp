// Updater start-up, document arguments and shut-down.
#include "flash/app/updater_app.h"

#include <QApplication>

#include "flash/app/document_type_registration.h"
#include "flash/app/pixel_icons.h"
#include "startup/startup_platform.h"

namespace flash {
namespace {

// The first argument that is not a switch names a document.
std::optional<QString> DocumentArgument(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (!argument.startsWith(QLatin1Char('-'))) return argument;
  }
  return std::nullopt;
}

}  // namespace

UpdaterApp::UpdaterApp(const AppVariant& variant, platform::Platform& system)
    : variant_(variant),
      system_(system),
      messages_(variant.applicationTitle),
      recentFiles_(QString::fromUtf8(variant.settingsKey),
                   QString::fromUtf8(variant.applicationTitle), variant.recentFileCount) {}

UpdaterApp::~UpdaterApp() { Stop(); }

int UpdaterApp::Start(const QStringList& arguments) {
  recentFiles_.Load();
  frame_ = std::make_unique<MainFrame>(variant_, messages_, fileDialogs_, recentFiles_);
  messages_.SetOwner(frame_.get());
  fileDialogs_.SetOwner(frame_.get());
  updater_ = std::make_unique<Updater>(variant_.procedure, system_, frame_->View());

  const int startResult = updater_->Start();
  if (startResult != 0) {
    messages_.SetOwner(nullptr);
    messages_.MessageBox(Updater::StartupMessage(startResult), std::string(), drvcmd::kMbOk);
    return startResult;
  }
  started_ = true;
  frame_->AttachUpdater(*updater_);

  if (variant_.hasSystemInfo) {
    systemInfo_ = system_.SystemInfoComponents().CreateSystemInfoComponent();
    frame_->SetSystemInfoComponent(systemInfo_.get());
  }

  const std::optional<QString> document = DocumentArgument(arguments);
  if (document.has_value()) {
    if (!frame_->OpenDocument(*document)) {
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

  std::string error;
  std::unique_ptr<platform::Platform> system = startup::OpenStartupPlatform(&error);
  if (system == nullptr) {
    ui::MessageBoxService messages(variant.applicationTitle);
    messages.MessageBox(error.empty() ? std::string("The platform could not be opened.") : error,
                        std::string(), drvcmd::kMbIconHand);
    return 1;
  }

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
