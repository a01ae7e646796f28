// ConfirmUpdateDialog's logic (template 131): asks before an update, showing
// the drive's firmware and the image's firmware. OK gives IDOK; Cancel,
// Escape and the close box give IDCANCEL.
#pragma once

#include <string>

#include "flash/firmware_image.h"
#include "ui/host/dialog_logic.h"

namespace flash {

// "%.24s %.4s" of an identity record: vendor and product, a blank, revision.
// The bytes as the drive or image has them (8-bit).
std::string FormatFirmwareIdentity(const FirmwareIdentity& identity);

class ConfirmUpdateLogic : public ui::DialogLogic {
 public:
  ConfirmUpdateLogic(const FirmwareIdentity& oldIdentity, const FirmwareIdentity& newIdentity)
      : oldIdentity_(oldIdentity), newIdentity_(newIdentity) {}

  void OnInitDialog(ui::WindowHost& host) override;

 private:
  FirmwareIdentity oldIdentity_;
  FirmwareIdentity newIdentity_;
};

}  // namespace flash
