// Kernel services on Windows: the kernel32 calls themselves. Handles are the
// system's own, so the ASPI manager can signal our events.
#pragma once

#include "platform/kernel.h"

namespace platform {

class WindowsKernel : public Kernel {
 public:
  Dword GetLastError() override;
  void SetLastError(Dword code) override;

  Handle CreateEventA(Bool manualReset, Bool initialState) override;
  Bool SetEvent(Handle event) override;
  Dword WaitForSingleObject(Handle event, Dword milliseconds) override;
  Bool CloseHandle(Handle event) override;

  Handle GlobalAlloc(Uint flags, std::size_t bytes) override;
  void* GlobalLock(Handle memory) override;
  Bool GlobalUnlock(Handle memory) override;
  Handle GlobalFree(Handle memory) override;

  Dword FormatMessageA(Dword flags, const void* source, Dword messageId, Dword languageId,
                       char* buffer, Dword size) override;

  void GetSystemInfo(SystemInfo* info) override;
  Bool GetVersionExA(OsVersionInfoA* info) override;
};

}  // namespace platform
