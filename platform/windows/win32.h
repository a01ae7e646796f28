// The Windows headers as the platform services include them: no min/max
// macros, no rarely used parts, and the pass-through records of the SDK.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h first: these need its types.
#include <ntddscsi.h>
#include <winioctl.h>

// The user's notice interface has a MessageBox of its own; the A/W macro
// would rename it in every file that sees both.
#undef MessageBox

#include "platform/win_types.h"

namespace platform {

inline HANDLE ToSystemHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
inline Handle FromSystemHandle(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

}  // namespace platform
