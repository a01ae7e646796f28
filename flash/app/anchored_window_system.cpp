// Modeless windows placed over the main frame.
#include "flash/app/anchored_window_system.h"

#include "ui/qt_dialog_host.h"
#include "ui/window_placement.h"

namespace flash {

std::unique_ptr<ui::OpenWindow> AnchoredWindowSystem::Open(const ui::DialogTemplate& dialog,
                                                           ui::DialogLogic& logic) {
  std::unique_ptr<ui::OpenWindow> window = system_.Open(dialog, logic);
  ui::QtDialogHost& shown = ui::QtWindowSystem::DialogOf(*window);
  if (!shown.Ended()) ui::ShowCentredAbove(shown, anchor_.data());
  return window;
}

}  // namespace flash
