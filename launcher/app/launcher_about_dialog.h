// LauncherAboutDialog: template 100, the program icon, version text and OK.
#pragma once

#include <QDialog>

namespace launcher {

class LauncherAboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit LauncherAboutDialog(QWidget* parent);
};

}  // namespace launcher
