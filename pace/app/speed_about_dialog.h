// The About box (template 100) of the speed utilities.
#pragma once

#include <QDialog>

#include "pace/app/speed_window_variant.h"

namespace pace {

class SpeedAboutDialog : public QDialog {
  Q_OBJECT

 public:
  SpeedAboutDialog(const SpeedWindowVariant& variant, QWidget* parent);
};

}  // namespace pace
