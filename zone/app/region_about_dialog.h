// The About box of zonespti (template 100).
#pragma once

#include <QDialog>

namespace zone {

class RegionAboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RegionAboutDialog(QWidget* parent);
};

}  // namespace zone
