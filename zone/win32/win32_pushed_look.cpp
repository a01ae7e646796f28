// BM_SETSTATE on the dialog's button.
#include "zone/win32/win32_pushed_look.h"

#include "ui/win32/win32_api.h"
#include "ui/win32/win32_dialog_host.h"

namespace zone {

void Win32PushedLook::Push(ui::WindowHost& host, int id) {
  auto* dialog = dynamic_cast<ui::win32::Win32DialogHost*>(&host);
  if (dialog == nullptr || dialog->Window() == nullptr) return;
  SendDlgItemMessageA(dialog->Window(), id, BM_SETSTATE, TRUE, 0);
}

}  // namespace zone
