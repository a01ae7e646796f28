// Kernel services: last error, events and waits, global memory, system message
// texts, the version and processor report. Shaped like the kernel32 calls.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace platform {

struct SystemInfo {
  Word wProcessorArchitecture = 0;
  Word wReserved = 0;
  Dword dwPageSize = 0;
  Dword dwNumberOfProcessors = 0;
  Dword dwProcessorType = 0;
  Word wProcessorLevel = 0;
  Word wProcessorRevision = 0;
};

struct OsVersionInfoA {
  Dword dwOSVersionInfoSize = sizeof(OsVersionInfoA);
  Dword dwMajorVersion = 0;
  Dword dwMinorVersion = 0;
  Dword dwBuildNumber = 0;
  Dword dwPlatformId = 0;
  char szCSDVersion[128] = {};
};

inline constexpr Dword kVerPlatformWin32s = 0;
inline constexpr Dword kVerPlatformWin32Windows = 1;
inline constexpr Dword kVerPlatformWin32Nt = 2;

class Kernel {
 public:
  virtual ~Kernel() = default;

  virtual Dword GetLastError() = 0;
  virtual void SetLastError(Dword code) = 0;

  // Unnamed event. kNullHandle on failure.
  virtual Handle CreateEventA(Bool manualReset, Bool initialState) = 0;
  virtual Bool SetEvent(Handle event) = 0;
  // kWaitObject0, kWaitTimeout or kWaitFailed. Never spins: blocks or advances time.
  virtual Dword WaitForSingleObject(Handle event, Dword milliseconds) = 0;
  virtual Bool CloseHandle(Handle event) = 0;

  // Fixed, zero-initialised blocks (GMEM_ZEROINIT). kNullHandle on failure.
  virtual Handle GlobalAlloc(Uint flags, std::size_t bytes) = 0;
  virtual void* GlobalLock(Handle memory) = 0;
  virtual Bool GlobalUnlock(Handle memory) = 0;
  virtual Handle GlobalFree(Handle memory) = 0;  // kNullHandle on success

  // FORMAT_MESSAGE_FROM_SYSTEM: copies the system's text for messageId into
  // buffer (at most size characters with the terminator) and returns its length;
  // 0 with last error ERROR_MR_MID_NOT_FOUND for a code the system has no text for.
  virtual Dword FormatMessageA(Dword flags, const void* source, Dword messageId,
                               Dword languageId, char* buffer, Dword size) = 0;

  virtual void GetSystemInfo(SystemInfo* info) = 0;
  virtual Bool GetVersionExA(OsVersionInfoA* info) = 0;
};

}  // namespace platform
