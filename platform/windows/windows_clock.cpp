// WindowsClock.
#include "platform/windows/windows_clock.h"

#include "platform/windows/win32.h"
// After windows.h, which it needs.
#include <mmsystem.h>

namespace platform {

static_assert(kTimerrNoError == TIMERR_NOERROR && kTimerrNoCanDo == TIMERR_NOCANDO);

Uint WindowsClock::timeBeginPeriod(Uint period) { return ::timeBeginPeriod(period); }

Uint WindowsClock::timeEndPeriod(Uint period) { return ::timeEndPeriod(period); }

Dword WindowsClock::timeGetTime() { return ::timeGetTime(); }

void WindowsClock::Sleep(Dword milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform
