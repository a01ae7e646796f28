// toolgate.exe: the launcher on the Win32 host. It starts the tools beside it
// with CreateProcessA (the Windows process service) and keeps its window
// painted while it waits for one to end.
#include "launcher/window/launcher_program.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_window_system.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  ui::win32::Win32WindowSystem windows;
  return launcher::RunLauncherProgram(windows);
}
