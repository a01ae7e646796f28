// What differs between the two speed utility builds, in one object per build.
// Chosen once in each executable's main (and by dvdspeed per addressing mode).
#pragma once

#include <cstdint>

#include "drvcmd/program_id.h"

namespace pace {

// The capabilities page is read with MODE SENSE(6) on the pass-through build
// and with MODE SENSE(10) on the ASPI build.
enum class ModeSenseKind { kSixByte, kTenByte };

struct PaceVariant {
  drvcmd::ProgramId program;
  const char* applicationTitle;  // caption of message boxes that name none

  // SET CD SPEED: the bits of the mode-control byte that go into CDB byte 1.
  std::uint8_t modeControlMask;
  ModeSenseKind modeSense;

  // Performance Mode (Permanent) without a selected drive: the text in a
  // message box and an empty status box instead of the text in the status box.
  bool performancePermanentNoSelectionBox;

  // Texts that differ; "%02x-%02x-%02x" is the sense triple.
  const char* quietPermanentFailureFormat;
  const char* performancePermanentSuccessText;
  const char* extractionMaximumSuccessText;
  const char* extractionSpeedSuccessFormat;  // "%d" kbytes/s, "%d" X

  static const PaceVariant& Spti();
  static const PaceVariant& Aspi();
};

}  // namespace pace
