// One updater program's state and its operations: the transport with its
// buffers, the firmware image, the selected drive's identity. The main window
// owns one and calls it from its command handlers.
#pragma once

#include <array>
#include <memory>

#include "drvcmd/drive_identify.h"
#include "drvcmd/drive_list.h"
#include "drvcmd/transport.h"
#include "flash/firmware_image.h"
#include "flash/flash_variant.h"
#include "flash/updater_ui.h"
#include "platform/platform.h"

namespace flash {

class Updater {
 public:
  Updater(const FlashVariant& variant, platform::Platform& system, UpdaterUi& ui);
  ~Updater();
  Updater(const Updater&) = delete;
  Updater& operator=(const Updater&) = delete;

  // StartTransport and the start-up values; the result is StartTransport's
  // (drvcmd::kStart*). On a non-zero result the caller shows the message
  // (StartupMessage) and ends; the transport has been stopped already.
  int Start();
  void Stop();
  // The start-up failure text for a StartTransport result, empty for 0.
  static const char* StartupMessage(int startResult);

  // The File Open command.
  void LoadFirmwareFile();
  // Fills the tree as this build scans (flashspti shows the progress window).
  void ScanDrives(drvcmd::DriveTree& tree);
  // The Update command (not the rescan that follows in flashaspi).
  void RunFirmwareUpdate(drvcmd::DriveSelection& selection);

  const FlashVariant& Variant() const { return variant_; }
  FirmwareImage& Image() { return image_; }
  drvcmd::Transport& CommandTransport() { return *transport_; }
  const drvcmd::DriveIdentity& SelectedDrive() const { return drive_; }

 private:
  const FlashVariant& variant_;
  platform::Platform& system_;
  UpdaterUi& ui_;
  std::unique_ptr<drvcmd::Transport> transport_;
  FirmwareImage image_;
  drvcmd::DriveIdentity drive_;
  ImageIdentity driveIdentity_{};
  ControllerType driveControllerType_{};
};

}  // namespace flash
