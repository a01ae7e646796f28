// The five drive programs. The command layer's settings and classifications
// differ per program; one value of this type selects them.
#pragma once

namespace drvcmd {

enum class ProgramId { kFlashSpti, kFlashAspi, kZoneSpti, kPaceSpti, kPaceAspi };

inline constexpr bool UsesAspi(ProgramId program) {
  return program == ProgramId::kFlashAspi || program == ProgramId::kPaceAspi;
}

}  // namespace drvcmd
