// Main form layout and main window placement.
#include "flash/window/form_layout.h"

namespace flash {

FormLayout LayOutForm(FormLayoutKind kind, int clientWidth, int clientHeight, int labelHeight,
                      int buttonHeight) {
  const int w = clientWidth - 10;
  const int hs = labelHeight;
  const int hb = buttonHeight;
  const int third = w / 3;
  FormLayout layout;
  int buttonRowY = 0;
  if (kind == FormLayoutKind::kDriveListLabelFirst) {
    const int u = (clientHeight - 2 * hs - hb - 30) / 3;
    layout.driveListLabel = ui::ItemRect{5, 5, w, hs};
    layout.driveTree = ui::ItemRect{5, hs + 10, w, u};
    layout.statusLabel = ui::ItemRect{5, hs + u + 15, w, hs};
    layout.statusBox = ui::ItemRect{5, 2 * hs + u + 20, w, 2 * u};
    buttonRowY = 2 * hs + 3 * u + 25;
  } else {
    const int u = (clientHeight - hs - hb - 25) / 3;
    layout.driveTree = ui::ItemRect{5, 5, w, u};
    layout.statusLabel = ui::ItemRect{5, u + 10, w, hs};
    layout.statusBox = ui::ItemRect{5, u + hs + 15, w, 2 * u};
    buttonRowY = hs + 3 * u + 20;
  }
  layout.fileOpen = ui::ItemRect{5, buttonRowY, third, hb};
  layout.update = ui::ItemRect{third + 5, buttonRowY, third, hb};
  layout.exit = ui::ItemRect{2 * third + 5, buttonRowY, third, hb};
  return layout;
}

ui::ItemRect CentredFrameRect(int screenWidth, int screenHeight) {
  const int x = screenWidth / 4;
  const int y = screenHeight / 4;
  return ui::ItemRect{x, y, screenWidth - 2 * x, screenHeight - 2 * y};
}

ui::ItemRect FirstFrameRect(int screenWidth, int screenHeight) {
  return ui::ItemRect{screenWidth / 4, screenHeight / 4, screenWidth / 2, screenHeight};
}

}  // namespace flash
