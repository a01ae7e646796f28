// Main form layout and main window placement.
#include "flash/app/form_layout.h"

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
    layout.driveListLabel = QRect(5, 5, w, hs);
    layout.driveTree = QRect(5, hs + 10, w, u);
    layout.statusLabel = QRect(5, hs + u + 15, w, hs);
    layout.statusBox = QRect(5, 2 * hs + u + 20, w, 2 * u);
    buttonRowY = 2 * hs + 3 * u + 25;
  } else {
    const int u = (clientHeight - hs - hb - 25) / 3;
    layout.driveTree = QRect(5, 5, w, u);
    layout.statusLabel = QRect(5, u + 10, w, hs);
    layout.statusBox = QRect(5, u + hs + 15, w, 2 * u);
    buttonRowY = hs + 3 * u + 20;
  }
  layout.fileOpen = QRect(5, buttonRowY, third, hb);
  layout.update = QRect(third + 5, buttonRowY, third, hb);
  layout.exit = QRect(2 * third + 5, buttonRowY, third, hb);
  return layout;
}

QRect CentredFrameRect(int screenWidth, int screenHeight) {
  const int x = screenWidth / 4;
  const int y = screenHeight / 4;
  return QRect(x, y, screenWidth - 2 * x, screenHeight - 2 * y);
}

QRect FirstFrameRect(int screenWidth, int screenHeight) {
  return QRect(screenWidth / 4, screenHeight / 4, screenWidth / 2, screenHeight);
}

}  // namespace flash
