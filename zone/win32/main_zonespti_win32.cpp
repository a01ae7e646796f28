// zonespti.exe: the region utility on the Win32 host. The drive's current
// region gets the pushed (highlighted) button state, BM_SETSTATE, which no
// later query clears.
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_window_system.h"
#include "zone/window/region_program.h"

namespace {

class Win32PushedLook : public zone::PushedLook {
 public:
  void Push(ui::WindowHost& host, int id) override {
    auto* dialog = dynamic_cast<ui::win32::Win32DialogHost*>(&host);
    if (dialog == nullptr || dialog->Window() == nullptr) return;
    SendDlgItemMessageA(dialog->Window(), id, BM_SETSTATE, TRUE, 0);
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  ui::win32::Win32WindowSystem windows;
  Win32PushedLook look;
  return zone::RunRegionProgram(windows, &look);
}
