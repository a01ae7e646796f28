// The speed utility's operations: the four mode changes, the speeds report and
// the CD-DA extraction speed, each in the common frame (selection, drive open,
// the operation, the status text).
#pragma once

#include <cstddef>
#include <cstdint>

#include "drvcmd/drive_list.h"
#include "drvcmd/transport.h"
#include "pace/pace_variant.h"
#include "pace/speed_commands.h"
#include "pace/speed_ui.h"

namespace pace {

enum class DriveMode {
  kQuietTemporary,
  kQuietPermanent,
  kPerformanceTemporary,
  kPerformancePermanent
};

inline constexpr std::uint8_t kModeControlExtraction = 0x00;
inline constexpr std::uint8_t kModeControlTemporary = 0x01;
inline constexpr std::uint8_t kModeControlPermanent = 0x03;

// One row of the mode table with this build's texts.
struct ModeOperation {
  std::uint8_t modeControl;
  std::uint16_t readSpeed;
  const char* successText;
  const char* failureFormat;  // "%02x-%02x-%02x": the sense triple
};

ModeOperation ModeOperationFor(const PaceVariant& variant, DriveMode mode);

// What one operation works with. `driveCount` counts the entries of `drives`
// that are drives (0 when the list holds only the "No I/F adapter" line).
struct SpeedSession {
  const PaceVariant& variant;
  drvcmd::Transport& transport;
  SpeedUi& ui;
  const drvcmd::DriveCombo& drives;
  std::size_t driveCount;
  CapabilitiesReply& reply;
};

// Each returns 0 when the drive did what was asked, -1 otherwise, and leaves
// its one message in the status box.
int ChangeDriveMode(SpeedSession& session, DriveMode mode);
// `speeds` (optional) receives what the drive reported; both 0 when it failed.
int ShowDriveSpeeds(SpeedSession& session, ReadSpeeds* speeds = nullptr);
int SetExtractionSpeed(SpeedSession& session);

}  // namespace pace
