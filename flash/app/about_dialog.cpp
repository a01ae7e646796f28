// The About box built from template 100.
#include "flash/app/about_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "ui/dialog_builder.h"

namespace flash {
UpdaterAboutDialog::UpdaterAboutDialog(const AppVariant& variant, QWidget* parent)
    : QDialog(parent) {
  ui::BuildDialog(*this, variant.dialogs.aboutBox);
  const QString text = ui::TemplateText(AboutText(variant).c_str());
  if (auto* edit = ui::FindControl<QLineEdit>(this, variant.aboutTextId)) {
    edit->setText(text);
  } else if (auto* label = ui::FindControl<QLabel>(this, variant.aboutTextId)) {
    label->setText(text);
  }
  if (auto* ok = ui::FindControl<QPushButton>(this, ui::kIdControlOk)) {
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }
}

}  // namespace flash
