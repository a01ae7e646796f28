// Dialog templates of the two speed utility builds: SpeedDialog (102) and the
// About box (100), and the texts that go with them.
#pragma once

#include <span>

#include "ui/dialog_template.h"

namespace resources {

struct SpeedDialogTemplates {
  const ui::DialogTemplate& speedDialog;
  const ui::DialogTemplate& aboutBox;
  int driveListId;
  const char* aboutEntryText;  // string 101, the system-menu entry
  // The extraction list's entries, in list order.
  std::span<const char* const> extractionEntries;
};

const SpeedDialogTemplates& SptiSpeedDialogs();
const SpeedDialogTemplates& AspiSpeedDialogs();

}  // namespace resources
