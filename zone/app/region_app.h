// RegionApp: zonespti from start-up to exit: the message boxes, the dialog
// and the program state with its transport.
#pragma once

#include <QIcon>
#include <memory>

#include "platform/platform.h"
#include "ui/message_box_service.h"
#include "zone/app/region_dialog.h"
#include "zone/region_utility.h"

namespace zone {

class RegionApp {
 public:
  explicit RegionApp(platform::Platform& system);
  ~RegionApp();
  RegionApp(const RegionApp&) = delete;
  RegionApp& operator=(const RegionApp&) = delete;

  // StartTransport, then the dialog's initialisation: 0, or the StartTransport
  // result after "Memory Allocation Error" was shown (no window then).
  int Start();
  void Stop();

  RegionDialog& Dialog() { return *dialog_; }
  RegionUtility& Utility() { return *utility_; }
  ui::MessageBoxService& Messages() { return messages_; }

 private:
  platform::Platform& system_;
  ui::MessageBoxService messages_;
  std::unique_ptr<RegionDialog> dialog_;
  std::unique_ptr<RegionUtility> utility_;  // after the dialog: it talks to it
  bool started_ = false;
};

// The program icon (128).
QIcon ZoneIcon();

// The whole program: QApplication, platform choice, RegionApp, the modal run.
int RunRegionProgram(int argc, char** argv);

}  // namespace zone
