// UpdaterAboutDialog: the program's version, with the build's caption.
#pragma once

#include <QDialog>

#include "flash/window/about_logic.h"
#include "flash/window/app_variant.h"

namespace flash {

class UpdaterAboutDialog : public QDialog {
  Q_OBJECT

 public:
  UpdaterAboutDialog(const AppVariant& variant, QWidget* parent);
};

}  // namespace flash
