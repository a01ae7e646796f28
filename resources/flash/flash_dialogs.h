// Dialog templates of the two updater builds: main form (101), About box
// (100), update progress (130) and update confirmation (131).
#pragma once

#include "ui/dialog_template.h"

namespace resources {

struct FlashDialogTemplates {
  const ui::DialogTemplate& mainForm;
  const ui::DialogTemplate& aboutBox;
  const ui::DialogTemplate& updateProgress;
  const ui::DialogTemplate& confirmUpdate;
};

const FlashDialogTemplates& AspiFlashDialogs();
const FlashDialogTemplates& SptiFlashDialogs();

}  // namespace resources
