// <windows.h> as the platform services include it (no min/max macros, no
// MessageBox macro renaming our own members) and the common controls, for the
// Win32 host.
#pragma once

#include "platform/windows/win32.h"
// windows.h first: commctrl.h builds on its types.
#include <commctrl.h>
