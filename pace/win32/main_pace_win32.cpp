// pacespti.exe and paceaspi.exe: the speed utility on the Win32 host. One
// source for both; each executable is built with its variant's name in
// DVDUTIL_PACE_VARIANT (Spti or Aspi).
#include "pace/win32/speed_label_fit.h"
#include "pace/window/speed_program.h"
#include "pace/window/speed_window_variant.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_window_system.h"

#ifndef DVDUTIL_PACE_VARIANT
#error "DVDUTIL_PACE_VARIANT names the build's variant: Spti or Aspi"
#endif

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  ui::win32::Win32WindowSystem windows;
  return pace::RunSpeedProgram(windows, pace::SpeedWindowVariant::DVDUTIL_PACE_VARIANT(),
                               pace::FitSpeedLabelToText);
}
