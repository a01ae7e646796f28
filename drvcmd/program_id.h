// The five drive programs. The command layer's settings and classifications
// differ per program; one value of this type selects them.
#pragma once

namespace drvcmd {

enum class ProgramId { kFlashSpti, kFlashAspi, kZoneSpti, kPaceSpti, kPaceAspi };

inline constexpr bool UsesAspi(ProgramId program) {
  return program == ProgramId::kFlashAspi || program == ProgramId::kPaceAspi;
}

// Whether every command the program sends is one the kernel lets a user send
// through a drive's block node (inquiry, test unit ready, region and speed
// commands). The updaters' firmware commands need the SCSI generic node.
inline constexpr bool SendsOnlyBlockNodeCommands(ProgramId program) {
  return program == ProgramId::kZoneSpti || program == ProgramId::kPaceSpti ||
         program == ProgramId::kPaceAspi;
}

}  // namespace drvcmd
