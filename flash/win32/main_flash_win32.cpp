// flashspti.exe and flashaspi.exe: the firmware updater on the Win32 window
// system. One source for both; each executable is built with its variant's
// name in DVDUTIL_FLASH_VARIANT (Spti or Aspi).
#include <string>
#include <vector>

#include "flash/win32/updater_program.h"
#include "flash/window/app_variant.h"
#include "resources/flash/flash_strings.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_window_system.h"

#ifndef DVDUTIL_FLASH_VARIANT
#error "DVDUTIL_FLASH_VARIANT names the build's variant: Spti or Aspi"
#endif

#define DVDUTIL_FLASH_JOIN(a, b) a##b
#define DVDUTIL_FLASH_NAME(a, b) DVDUTIL_FLASH_JOIN(a, b)

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  std::vector<std::string> arguments;
  for (int index = 1; index < __argc; ++index) arguments.emplace_back(__argv[index]);
  ui::win32::Win32WindowSystem windows;
  const flash::Win32UpdaterBuild build{
      flash::AppVariant::DVDUTIL_FLASH_VARIANT(),
      resources::DVDUTIL_FLASH_NAME(DVDUTIL_FLASH_NAME(k, DVDUTIL_FLASH_VARIANT), DocumentString)};
  return flash::RunWin32UpdaterProgram(windows, build, arguments);
}
