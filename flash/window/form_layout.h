// Where the main form's controls go in the view's client area, and where the
// main window goes on the screen. Pure arithmetic; every division truncates.
#pragma once

#include "flash/window/app_variant.h"
#include "ui/host/window_host.h"

namespace flash {

struct FormLayout {
  ui::ItemRect driveListLabel;  // all zero when the build has none
  ui::ItemRect driveTree;
  ui::ItemRect statusLabel;
  ui::ItemRect statusBox;
  ui::ItemRect fileOpen;
  ui::ItemRect update;
  ui::ItemRect exit;
};

// clientWidth/clientHeight: the view's client size; labelHeight: the first
// label's height; buttonHeight: the "File Open" button's height.
FormLayout LayOutForm(FormLayoutKind kind, int clientWidth, int clientHeight, int labelHeight,
                      int buttonHeight);

// The main window after an initial update: centred, half the screen each way.
ui::ItemRect CentredFrameRect(int screenWidth, int screenHeight);
// flashaspi's first frame: CX/4, CY/4, CX/2 wide and CY high.
ui::ItemRect FirstFrameRect(int screenWidth, int screenHeight);

}  // namespace flash
