// UpdaterAboutDialog: the program's version, with the build's caption.
#pragma once

#include <QDialog>

#include "flash/app/app_variant.h"

namespace flash {

// The About text of a build: "Firmware Update Utility Version 0.03" or the
// two-line flashspti text (with "\r\n").
std::string AboutText(const AppVariant& variant);

class UpdaterAboutDialog : public QDialog {
  Q_OBJECT

 public:
  UpdaterAboutDialog(const AppVariant& variant, QWidget* parent);
};

}  // namespace flash
