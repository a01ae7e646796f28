// ConfirmUpdateDialog: asks before an update, showing the drive's firmware
// and the image's firmware.
#pragma once

#include <QDialog>
#include <string>

#include "flash/firmware_image.h"
#include "flash/window/confirm_update_logic.h"
#include "ui/dialog_template.h"

namespace flash {

class ConfirmUpdateDialog : public QDialog {
  Q_OBJECT

 public:
  ConfirmUpdateDialog(const ui::DialogTemplate& dialogTemplate, const FirmwareIdentity& oldIdentity,
                      const FirmwareIdentity& newIdentity, QWidget* parent);

  // Runs modally: kIdOk, or kIdCancel for Cancel, Escape and the close box.
  int Run();
};

}  // namespace flash
