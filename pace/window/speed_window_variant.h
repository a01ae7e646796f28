// What differs between the two speed utility windows, in one object per
// build: the sequences' variant, the templates and the start-up behaviour.
#pragma once

#include "pace/pace_variant.h"
#include "resources/pace/pace_dialogs.h"

namespace pace {

struct SpeedWindowVariant {
  const PaceVariant& procedure;
  const resources::SpeedDialogTemplates& templates;
  // The extraction list gets its first entry selected even when no drive is listed.
  bool extractionSelectedWithoutDrive;
  // The (empty) status text is written into the box at the end of start-up.
  bool refreshStatusAtStart;

  static const SpeedWindowVariant& Spti();
  static const SpeedWindowVariant& Aspi();
};

}  // namespace pace
