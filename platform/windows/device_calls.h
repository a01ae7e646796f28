// The three system calls the pass-through service makes on a drive, behind a
// narrow seam so that tests can stand in for the device driver and see the
// very records that would reach DeviceIoControl.
#pragma once

#include "platform/win_types.h"

namespace platform {

class DeviceCalls {
 public:
  virtual ~DeviceCalls() = default;
  // INVALID_HANDLE_VALUE (kInvalidHandleValue) and the last error on failure.
  virtual Handle CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode,
                             Dword creationDisposition, Dword flagsAndAttributes) = 0;
  virtual Bool DeviceIoControl(Handle device, Dword ioControlCode, void* inBuffer,
                               Dword inBufferSize, void* outBuffer, Dword outBufferSize,
                               Dword* bytesReturned) = 0;
  virtual Bool CloseHandle(Handle device) = 0;
};

// kernel32's CreateFileA, DeviceIoControl and CloseHandle.
class SystemDeviceCalls : public DeviceCalls {
 public:
  Handle CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode,
                     Dword creationDisposition, Dword flagsAndAttributes) override;
  Bool DeviceIoControl(Handle device, Dword ioControlCode, void* inBuffer, Dword inBufferSize,
                       void* outBuffer, Dword outBufferSize, Dword* bytesReturned) override;
  Bool CloseHandle(Handle device) override;
};

}  // namespace platform
