// Scalar types and constants of the operating-system services the programs are
// written against. Fixed-width so the records keep their Windows layout.
#pragma once

#include <cstdint>

namespace platform {

using Byte = std::uint8_t;
using Uchar = std::uint8_t;
using Boolean = std::uint8_t;
using Word = std::uint16_t;
using Ushort = std::uint16_t;
using Short = std::int16_t;
using Dword = std::uint32_t;
using Ulong = std::uint32_t;
using Uint = std::uint32_t;
using UlongPtr = std::uintptr_t;
using Bool = int;
using HResult = std::int32_t;

// Kernel object handle (drive, event, memory block, module). 0 is "no handle".
using Handle = std::uintptr_t;
inline constexpr Handle kNullHandle = 0;
inline constexpr Handle kInvalidHandleValue = static_cast<Handle>(-1);

inline constexpr Bool kTrue = 1;
inline constexpr Bool kFalse = 0;

// CreateFileA
inline constexpr Dword kGenericRead = 0x80000000u;
inline constexpr Dword kGenericWrite = 0x40000000u;
inline constexpr Dword kFileShareRead = 0x00000001u;
inline constexpr Dword kFileShareWrite = 0x00000002u;
inline constexpr Dword kOpenExisting = 3;

// WaitForSingleObject
inline constexpr Dword kInfinite = 0xFFFFFFFFu;
inline constexpr Dword kWaitObject0 = 0x00000000u;
inline constexpr Dword kWaitTimeout = 0x00000102u;
inline constexpr Dword kWaitFailed = 0xFFFFFFFFu;

// GlobalAlloc
inline constexpr Uint kGmemFixed = 0x0000;
inline constexpr Uint kGmemZeroInit = 0x0040;

// FormatMessageA
inline constexpr Dword kFormatMessageFromSystem = 0x00001000u;

// timeBeginPeriod / timeEndPeriod
inline constexpr Uint kTimerrNoError = 0;
inline constexpr Uint kTimerrNoCanDo = 97;

// HRESULT values used by the system-information component.
inline constexpr HResult kSOk = 0;
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kENoInterface = static_cast<HResult>(0x80004002u);

}  // namespace platform
