// The two speed utility windows' variants.
#include "pace/window/speed_window_variant.h"

namespace pace {

const SpeedWindowVariant& SpeedWindowVariant::Spti() {
  static const SpeedWindowVariant variant{
      .procedure = PaceVariant::Spti(),
      .templates = resources::SptiSpeedDialogs(),
      .extractionSelectedWithoutDrive = true,
      .refreshStatusAtStart = false,
  };
  return variant;
}

const SpeedWindowVariant& SpeedWindowVariant::Aspi() {
  static const SpeedWindowVariant variant{
      .procedure = PaceVariant::Aspi(),
      .templates = resources::AspiSpeedDialogs(),
      .extractionSelectedWithoutDrive = false,
      .refreshStatusAtStart = true,
  };
  return variant;
}

}  // namespace pace
