// zonespti.exe: the region utility on the Win32 host.
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_window_system.h"
#include "zone/win32/win32_pushed_look.h"
#include "zone/window/region_program.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  ui::win32::Win32WindowSystem windows;
  zone::Win32PushedLook look;
  return zone::RunRegionProgram(windows, &look);
}
