// The pass-through service on Windows: "\\.\X:" opened with CreateFileA, the
// pass-through records handed to DeviceIoControl as they are (their layout is
// the SDK's, checked at compile time).
#pragma once

#include "platform/pass_through.h"
#include "platform/windows/device_calls.h"

namespace platform {

// FSCTL_LOCK_VOLUME: held until the volume's handle is closed.
inline constexpr Dword kFsctlLockVolume = 0x00090018u;

class WindowsPassThrough : public PassThroughService {
 public:
  explicit WindowsPassThrough(DeviceCalls& calls) : calls_(calls) {}

  Handle CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode,
                     Dword creationDisposition, Dword flagsAndAttributes) override;
  Bool DeviceIoControl(Handle device, Dword ioControlCode, void* inBuffer, Dword inBufferSize,
                       void* outBuffer, Dword outBufferSize, Dword* bytesReturned) override;
  Bool CloseHandle(Handle device) override;
  // The volume lock: nothing else opens the drive's volume while it is held.
  Bool LockDevice(Handle device) override;

 private:
  DeviceCalls& calls_;
};

}  // namespace platform
