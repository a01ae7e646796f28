// The speed side of an emulated TAVREON drive: its read speeds per disc and
// mode, the quiet/performance mode (temporary and permanent), the CD-DA
// extraction speed and the spindle.
#pragma once

#include <cstdint>
#include <string_view>

namespace emu {

enum class SpeedMode { kPerformance, kQuiet };

// The kept-state key of the permanent mode ("quiet" or "performance").
inline constexpr char kSpeedModeStateKey[] = "speedMode";

// Read speeds in kbytes/s, as the capabilities page reports them.
struct SpeedProfile {
  std::uint16_t maximum = 0;
  std::uint16_t cdPerformance = 0;
  std::uint16_t cdQuiet = 0;
  std::uint16_t dvdPerformance = 0;
  std::uint16_t dvdQuiet = 0;
};

// The speeds a catalogue model reports.
SpeedProfile SpeedProfileOf(std::string_view modelName);

struct SpeedState {
  bool supported = false;  // drives with TAVREON firmware know the speed commands
  SpeedProfile profile;
  SpeedMode factoryMode = SpeedMode::kPerformance;
  SpeedMode permanentMode = SpeedMode::kPerformance;  // kept across starts
  SpeedMode currentMode = SpeedMode::kPerformance;    // lost at the next start
  std::uint16_t extractionSpeed = 0xFFFF;             // CD-DA limit; FFFFh: none
  bool spindleStopped = false;
};

}  // namespace emu
