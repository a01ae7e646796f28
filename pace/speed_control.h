// One speed utility program's state: the transport with its buffers, the drive
// table built by the scan and the capabilities reply buffer. The dialog (or
// dvdspeed) owns one and calls its operations from its button handlers.
#pragma once

#include <memory>

#include "drvcmd/drive_list.h"
#include "drvcmd/transport.h"
#include "pace/pace_variant.h"
#include "pace/speed_sequences.h"
#include "pace/speed_ui.h"
#include "platform/platform.h"

namespace pace {

class SpeedControl {
 public:
  SpeedControl(const PaceVariant& variant, platform::Platform& system, SpeedUi& ui);
  ~SpeedControl();
  SpeedControl(const SpeedControl&) = delete;
  SpeedControl& operator=(const SpeedControl&) = delete;

  // StartTransport's result (drvcmd::kStart*). Only a failed allocation ends
  // the program (the transport is stopped then); the ASPI build goes on
  // without a manager or adapters.
  int Start();
  static bool StartIsFatal(int startResult) { return startResult == drvcmd::kStartMemoryError; }
  void Stop();

  // Fills `combo` as this build scans and keeps it as the drive table.
  void ScanDrives(drvcmd::DriveCombo& combo);
  // Takes a drive table built elsewhere (dvdspeed names its drive directly).
  void UseDrives(drvcmd::DriveCombo combo);

  int ChangeDriveMode(DriveMode mode);
  int ShowDriveSpeeds(ReadSpeeds* speeds = nullptr);
  int SetExtractionSpeed();

  const PaceVariant& Variant() const { return variant_; }
  drvcmd::Transport& CommandTransport() { return *transport_; }
  const drvcmd::DriveCombo& Drives() const { return drives_; }

 private:
  template <typename Operation>
  int Run(Operation operation);

  const PaceVariant& variant_;
  SpeedUi& ui_;
  std::unique_ptr<drvcmd::Transport> transport_;
  bool started_ = false;
  drvcmd::DriveCombo drives_;
  std::size_t driveCount_ = 0;
  CapabilitiesReply reply_{};
};

}  // namespace pace
