// Speed utility start-up and shut-down.
#include "pace/app/speed_app.h"

#include <QApplication>

#include "drvcmd/transport.h"
#include "pace/app/speed_icon.h"
#include "startup/startup_platform.h"

namespace pace {

SpeedApp::SpeedApp(const SpeedWindowVariant& variant, platform::Platform& system)
    : variant_(variant), system_(system), messages_(variant.procedure.applicationTitle) {}

SpeedApp::~SpeedApp() { Stop(); }

int SpeedApp::Start() {
  dialog_ = std::make_unique<SpeedDialog>(variant_, messages_);
  control_ = std::make_unique<SpeedControl>(variant_.procedure, system_, *dialog_);
  const int startResult = control_->Start();
  if (SpeedControl::StartIsFatal(startResult)) {
    messages_.MessageBox(drvcmd::StartTransportMessage(startResult), std::string(), drvcmd::kMbOk);
    return startResult;
  }
  // The ASPI build goes on without a manager or adapters: its scan says so.
  messages_.SetOwner(dialog_.get());
  dialog_->AttachControl(control_.get());
  dialog_->Initialise();
  return 0;
}

void SpeedApp::Stop() {
  if (control_) control_->Stop();
}

int RunSpeedProgram(int argc, char** argv, const SpeedWindowVariant& variant) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(variant.procedure.applicationTitle));
  QApplication::setWindowIcon(SpeedIcon());

  std::string error;
  std::unique_ptr<platform::Platform> system = startup::OpenStartupPlatform(&error);
  if (system == nullptr) {
    ui::MessageBoxService messages(variant.procedure.applicationTitle);
    messages.MessageBox(error.empty() ? std::string("The platform could not be opened.") : error,
                        std::string(), drvcmd::kMbIconHand);
    return 1;
  }

  SpeedApp app(variant, *system);
  if (app.Start() != 0) return 1;
  app.Dialog().exec();
  app.Stop();
  return 0;
}

}  // namespace pace
