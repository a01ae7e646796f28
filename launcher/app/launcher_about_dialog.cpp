// The About box built from template 100.
#include "launcher/app/launcher_about_dialog.h"

#include <QPushButton>

#include "resources/launcher/launcher_dialogs.h"
#include "ui/dialog_builder.h"

namespace launcher {

LauncherAboutDialog::LauncherAboutDialog(QWidget* parent) : QDialog(parent) {
  ui::BuildDialog(*this, resources::LauncherAboutTemplate());
  if (auto* ok = ui::FindControl<QPushButton>(this, ui::kIdControlOk)) {
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }
}

}  // namespace launcher
