// <windows.h> and the common controls for the Win32 host, without the macros
// that would rename our own members (MessageBox).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h first: commctrl.h builds on its types.
#include <commctrl.h>

#undef MessageBox
