// Win32 error codes that the platform services report through GetLastError.
#pragma once

#include "platform/win_types.h"

namespace platform {

inline constexpr Dword kErrorSuccess = 0;
inline constexpr Dword kErrorInvalidFunction = 1;
inline constexpr Dword kErrorFileNotFound = 2;
inline constexpr Dword kErrorPathNotFound = 3;
inline constexpr Dword kErrorTooManyOpenFiles = 4;
inline constexpr Dword kErrorAccessDenied = 5;
inline constexpr Dword kErrorInvalidHandle = 6;
inline constexpr Dword kErrorNotEnoughMemory = 8;
inline constexpr Dword kErrorBadEnvironment = 10;
inline constexpr Dword kErrorBadFormat = 11;
inline constexpr Dword kErrorOutOfMemory = 14;
inline constexpr Dword kErrorNotReady = 21;
inline constexpr Dword kErrorCrc = 23;
inline constexpr Dword kErrorGenFailure = 31;
inline constexpr Dword kErrorSharingViolation = 32;
inline constexpr Dword kErrorNotSupported = 50;
inline constexpr Dword kErrorInvalidParameter = 87;
inline constexpr Dword kErrorInsufficientBuffer = 122;
inline constexpr Dword kErrorSemTimeout = 121;
inline constexpr Dword kErrorModNotFound = 126;
inline constexpr Dword kErrorBusy = 170;
inline constexpr Dword kErrorDirectory = 267;
inline constexpr Dword kErrorMrMidNotFound = 317;
inline constexpr Dword kErrorIoDevice = 1117;
inline constexpr Dword kErrorDeviceNotConnected = 1167;

}  // namespace platform
