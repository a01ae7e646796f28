// The two speed utility builds' variants.
#include "pace/pace_variant.h"

namespace pace {

const PaceVariant& PaceVariant::Spti() {
  static const PaceVariant variant{
      .program = drvcmd::ProgramId::kPaceSpti,
      .applicationTitle = "pacespti",
      .modeControlMask = 0x03,
      .modeSense = ModeSenseKind::kSixByte,
      .performancePermanentNoSelectionBox = true,
      .quietPermanentFailureFormat = "Failed to change to quiet mode (permanent). (%02x-%02x-%02x)",
      .performancePermanentSuccessText = "Drive mode is changed to performance mode. (permanent)",
      .extractionMaximumSuccessText =
          "CD-DA extraction speed is changed \r\nto maximum speed successfully.",
      .extractionSpeedSuccessFormat =
          "CD-DA extraction speed is changed successfully\r\n%dkbytes/s(%dX).",
  };
  return variant;
}

const PaceVariant& PaceVariant::Aspi() {
  static const PaceVariant variant{
      .program = drvcmd::ProgramId::kPaceAspi,
      .applicationTitle = "paceaspi",
      .modeControlMask = 0xFF,
      .modeSense = ModeSenseKind::kTenByte,
      .performancePermanentNoSelectionBox = false,
      .quietPermanentFailureFormat = "Failed to change to quiet mode. (%02x-%02x-%02x)",
      .performancePermanentSuccessText = "Drive mode is changed to performance mode (permanent)",
      .extractionMaximumSuccessText = "CD-DA extraction speed is changed to maximum speed.",
      .extractionSpeedSuccessFormat = "CD-DA extraction speed is changed to %dkbytes/s(%dX).",
  };
  return variant;
}

}  // namespace pace
