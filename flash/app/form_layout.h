// Where the main form's controls go in the view's client area, and where the
// main window goes on the screen. Pure arithmetic; every division truncates.
#pragma once

#include <QRect>

#include "flash/app/app_variant.h"

namespace flash {

struct FormLayout {
  QRect driveListLabel;  // empty when the build has none
  QRect driveTree;
  QRect statusLabel;
  QRect statusBox;
  QRect fileOpen;
  QRect update;
  QRect exit;
};

// clientWidth/clientHeight: the view's client size; labelHeight: the first
// label's height; buttonHeight: the "File Open" button's height.
FormLayout LayOutForm(FormLayoutKind kind, int clientWidth, int clientHeight, int labelHeight,
                      int buttonHeight);

// The main window after an initial update: centred, half the screen each way.
QRect CentredFrameRect(int screenWidth, int screenHeight);
// flashaspi's first frame: CX/4, CY/4, CX/2 wide and CY high.
QRect FirstFrameRect(int screenWidth, int screenHeight);

}  // namespace flash
