// ConfirmUpdateDialog: asks before an update, showing the drive's firmware
// and the image's firmware.
#pragma once

#include <QDialog>
#include <string>

#include "flash/firmware_image.h"
#include "ui/dialog_template.h"

namespace flash {

// "%.24s %.4s" of an identity record: vendor and product, a blank, revision.
std::string FormatFirmwareIdentity(const FirmwareIdentity& identity);

class ConfirmUpdateDialog : public QDialog {
  Q_OBJECT

 public:
  ConfirmUpdateDialog(const ui::DialogTemplate& dialogTemplate, const FirmwareIdentity& oldIdentity,
                      const FirmwareIdentity& newIdentity, QWidget* parent);

  // Runs modally: kIdOk, or kIdCancel for Cancel, Escape and the close box.
  int Run();
};

}  // namespace flash
