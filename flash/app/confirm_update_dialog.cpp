// The update confirmation dialog built from template 131.
#include "flash/app/confirm_update_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <cstdio>

#include "drvcmd/notice.h"
#include "resources/flash/flash_resource_ids.h"
#include "resources/flash/flash_strings.h"
#include "ui/dialog_builder.h"

namespace flash {
ConfirmUpdateDialog::ConfirmUpdateDialog(const ui::DialogTemplate& dialogTemplate,
                                         const FirmwareIdentity& oldIdentity,
                                         const FirmwareIdentity& newIdentity, QWidget* parent)
    : QDialog(parent) {
  ui::BuildDialog(*this, dialogTemplate);
  auto setText = [this](int id, const QString& text) {
    if (auto* label = ui::FindControl<QLabel>(this, id)) label->setText(text);
  };
  // Identity bytes come from drives and images: one byte, one character, as
  // the drive tree shows them (never decoded as UTF-8).
  auto identityText = [](const FirmwareIdentity& identity) {
    const std::string text = FormatFirmwareIdentity(identity);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  };
  setText(resources::kIdcConfirmMessage, QString::fromUtf8(resources::kConfirmMessage));
  setText(resources::kIdcConfirmOldFirmware, identityText(oldIdentity));
  setText(resources::kIdcConfirmNewFirmware, identityText(newIdentity));
  if (auto* ok = ui::FindControl<QPushButton>(this, ui::kIdControlOk)) {
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
  }
  if (auto* cancel = ui::FindControl<QPushButton>(this, ui::kIdControlCancel)) {
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  }
}

int ConfirmUpdateDialog::Run() {
  return exec() == QDialog::Accepted ? drvcmd::kIdOk : drvcmd::kIdCancel;
}

}  // namespace flash
