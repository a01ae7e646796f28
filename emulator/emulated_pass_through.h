// The machine's SCSI pass-through service: "\\.\X:" devices, their address and
// capability queries, and both pass-through records, checked as Windows checks them.
#pragma once

#include <map>
#include <mutex>

#include "emulator/command_log.h"
#include "emulator/device_bus.h"
#include "emulator/emulated_kernel.h"
#include "emulator/handle_allocator.h"
#include "emulator/machine_clock.h"
#include "platform/pass_through.h"

namespace emu {

// What IOCTL_SCSI_GET_CAPABILITIES reports; longer transfers are refused.
inline constexpr platform::Ulong kMaximumTransferLength = 0x20000;

class EmulatedPassThrough : public platform::PassThroughService {
 public:
  EmulatedPassThrough(HandleAllocator& handles, EmulatedKernel& kernel, DeviceBus& bus,
                      CommandLog& log, MachineClock& clock);

  platform::Handle CreateFileA(const char* fileName, platform::Dword desiredAccess,
                               platform::Dword shareMode, platform::Dword creationDisposition,
                               platform::Dword flagsAndAttributes) override;
  platform::Bool DeviceIoControl(platform::Handle device, platform::Dword ioControlCode,
                                 void* inBuffer, platform::Dword inBufferSize, void* outBuffer,
                                 platform::Dword outBufferSize,
                                 platform::Dword* bytesReturned) override;
  platform::Bool CloseHandle(platform::Handle device) override;
  platform::Bool LockDevice(platform::Handle device) override;

  std::size_t OpenHandles();

 private:
  struct OpenDevice {
    DeviceSlot* slot = nullptr;
    bool locked = false;
  };

  platform::Bool Fail(platform::Dword code);
  platform::Bool GetCapabilities(void* out, platform::Dword outSize, platform::Dword* returned);
  platform::Bool GetAddress(const OpenDevice& device, void* out, platform::Dword outSize,
                            platform::Dword* returned);
  template <typename Record>
  platform::Bool PassThrough(const OpenDevice& device, platform::Dword ioControlCode,
                             void* inBuffer, platform::Dword inBufferSize, void* outBuffer,
                             platform::Dword outBufferSize, platform::Dword* bytesReturned);

  HandleAllocator& handles_;
  EmulatedKernel& kernel_;
  DeviceBus& bus_;
  CommandLog& log_;
  MachineClock& clock_;
  std::mutex mutex_;
  std::map<platform::Handle, OpenDevice> open_;
};

}  // namespace emu
