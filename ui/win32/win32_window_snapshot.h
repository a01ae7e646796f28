// Images of the Win32 programs' windows for the documentation, as the Qt
// programs take them:
//   DVDUTIL_SNAPSHOT=<folder>        once the program's first window has shown
//                                    and settled, it is saved as
//                                    <folder>/<program>.png and the window is
//                                    destroyed (the program ends as it would).
//   DVDUTIL_SNAPSHOT_PRESS=<id>      first clicks the control with that id in
//                                    that window (taken out of the environment,
//                                    so a started program does not click too).
// Without DVDUTIL_SNAPSHOT nothing here does anything.
#pragma once

#include <string>

#include "ui/win32/win32_api.h"

namespace ui::win32 {

// Once per program: if DVDUTIL_SNAPSHOT is set, `window` (its first top-level
// window) is pressed and taken as described above, from the message loop.
// Win32WindowSystem::RunUntilClosed does this; a frame window's loop calls it.
void ArmWindowSnapshot(HWND window);

// `window` as it shows on the screen, caption and frame included, as a PNG
// file. False (with the reason on stderr) when it cannot be written.
bool SaveWindowImage(HWND window, const std::wstring& path);

}  // namespace ui::win32
