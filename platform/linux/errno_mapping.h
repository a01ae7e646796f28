// Translation of Linux errno values into the Win32 codes the services report.
#pragma once

#include "platform/win_types.h"

namespace platform {

// Opening a device and working with an open one report some conditions
// differently (a held device is a sharing violation on open, busy afterwards).
enum class ErrnoContext { kOpen, kIoctl };

Dword Win32ErrorFromErrno(int error, ErrnoContext context);

}  // namespace platform
