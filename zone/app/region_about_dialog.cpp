// About box from its template.
#include "zone/app/region_about_dialog.h"

#include <QPushButton>

#include "resources/zone/zone_dialogs.h"
#include "ui/dialog_builder.h"

namespace zone {

RegionAboutDialog::RegionAboutDialog(QWidget* parent) : QDialog(parent) {
  ui::BuildDialog(*this, resources::ZoneAboutTemplate());
  if (auto* ok = ui::FindControl<QPushButton>(this, ui::kIdControlOk)) {
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }
}

}  // namespace zone
