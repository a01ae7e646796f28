// The About box built from its template.
#include "pace/app/speed_about_dialog.h"

#include <QPushButton>

#include "ui/dialog_builder.h"

namespace pace {

SpeedAboutDialog::SpeedAboutDialog(const SpeedWindowVariant& variant, QWidget* parent)
    : QDialog(parent) {
  ui::BuildDialog(*this, variant.templates.aboutBox);
  if (auto* ok = ui::FindControl<QPushButton>(this, ui::kIdControlOk)) {
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }
}

}  // namespace pace
