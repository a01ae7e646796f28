// SpeedApp: one speed utility program from start-up to exit: the message
// boxes, SpeedDialog and the program object.
#pragma once

#include <memory>

#include "pace/app/speed_dialog.h"
#include "pace/app/speed_window_variant.h"
#include "pace/speed_control.h"
#include "platform/platform.h"
#include "ui/message_box_service.h"

namespace pace {

class SpeedApp {
 public:
  SpeedApp(const SpeedWindowVariant& variant, platform::Platform& system);
  ~SpeedApp();
  SpeedApp(const SpeedApp&) = delete;
  SpeedApp& operator=(const SpeedApp&) = delete;

  // Start-up up to an initialised dialog ready to run: 0, or StartTransport's
  // fatal result after "Memory Allocation Error" was shown (no dialog then).
  int Start();
  void Stop();

  SpeedDialog& Dialog() { return *dialog_; }
  SpeedControl& Program() { return *control_; }
  ui::MessageBoxService& Messages() { return messages_; }

 private:
  const SpeedWindowVariant& variant_;
  platform::Platform& system_;
  ui::MessageBoxService messages_;
  std::unique_ptr<SpeedDialog> dialog_;
  std::unique_ptr<SpeedControl> control_;  // declared last: it uses the dialog
};

// The whole program: QApplication, platform choice, SpeedApp, the modal run.
int RunSpeedProgram(int argc, char** argv, const SpeedWindowVariant& variant);

}  // namespace pace
