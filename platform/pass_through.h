// SCSI pass-through service: the drive-letter device, its ioctls and the records
// they exchange. Field order and types are those of the Windows structures, with
// natural alignment, so a 32-bit build has the documented sizes.
#pragma once

#include <cstddef>

#include "platform/win_types.h"

namespace platform {

inline constexpr Dword kIoctlScsiPassThrough = 0x0004D004u;
inline constexpr Dword kIoctlScsiPassThroughDirect = 0x0004D014u;
inline constexpr Dword kIoctlScsiGetCapabilities = 0x00041010u;
inline constexpr Dword kIoctlScsiGetAddress = 0x00041018u;

inline constexpr Uchar kScsiIoctlDataOut = 0;
inline constexpr Uchar kScsiIoctlDataIn = 1;
inline constexpr Uchar kScsiIoctlDataUnspecified = 2;

struct ScsiPassThrough {
  Ushort Length;
  Uchar ScsiStatus;
  Uchar PathId;
  Uchar TargetId;
  Uchar Lun;
  Uchar CdbLength;
  Uchar SenseInfoLength;
  Uchar DataIn;
  Ulong DataTransferLength;
  Ulong TimeOutValue;
  UlongPtr DataBufferOffset;
  Ulong SenseInfoOffset;
  Uchar Cdb[16];
};

struct ScsiPassThroughDirect {
  Ushort Length;
  Uchar ScsiStatus;
  Uchar PathId;
  Uchar TargetId;
  Uchar Lun;
  Uchar CdbLength;
  Uchar SenseInfoLength;
  Uchar DataIn;
  Ulong DataTransferLength;
  Ulong TimeOutValue;
  void* DataBuffer;
  Ulong SenseInfoOffset;
  Uchar Cdb[16];
};

inline constexpr std::size_t kSenseAreaSize = 32;
inline constexpr std::size_t kBufferedDataAreaSize = 512;

// The direct record: header, filler, sense area.
struct ScsiPassThroughDirectWithSense {
  ScsiPassThroughDirect sptd;
  Ulong Filler;
  Uchar SenseBuf[kSenseAreaSize];
};

// The buffered record: header, filler, sense area, data area.
struct ScsiPassThroughWithBuffers {
  ScsiPassThrough spt;
  Ulong Filler;
  Uchar SenseBuf[kSenseAreaSize];
  Uchar DataBuf[kBufferedDataAreaSize];
};

struct IoScsiCapabilities {
  Ulong Length;
  Ulong MaximumTransferLength;
  Ulong MaximumPhysicalPages;
  Ulong SupportedAsynchronousEvents;
  Ulong AlignmentMask;
  Boolean TaggedQueuing;
  Boolean AdapterScansDown;
  Boolean AdapterUsesPio;
};

struct ScsiAddress {
  Ulong Length;
  Uchar PortNumber;
  Uchar PathId;
  Uchar TargetId;
  Uchar Lun;
};

static_assert(sizeof(IoScsiCapabilities) == 24);
static_assert(sizeof(ScsiAddress) == 8);
static_assert(offsetof(ScsiPassThrough, DataTransferLength) == 12);
static_assert(offsetof(ScsiPassThroughDirect, DataBuffer) == 20 || sizeof(void*) != 4);
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ScsiPassThrough) == 44);
static_assert(sizeof(ScsiPassThroughDirect) == 44);
static_assert(sizeof(ScsiPassThroughDirectWithSense) == 80);
static_assert(offsetof(ScsiPassThroughDirectWithSense, SenseBuf) == 48);
static_assert(sizeof(ScsiPassThroughWithBuffers) == 592);
static_assert(offsetof(ScsiPassThroughWithBuffers, SenseBuf) == 48);
static_assert(offsetof(ScsiPassThroughWithBuffers, DataBuf) == 80);
#endif

// CreateFileA / DeviceIoControl / CloseHandle on "\\.\X:" devices. Failures set
// the kernel's last error (Kernel::GetLastError) to a Win32 code.
class PassThroughService {
 public:
  virtual ~PassThroughService() = default;
  // Returns kInvalidHandleValue on failure.
  virtual Handle CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode,
                             Dword creationDisposition, Dword flagsAndAttributes) = 0;
  // Synchronous; inBuffer and outBuffer may be the same record.
  virtual Bool DeviceIoControl(Handle device, Dword ioControlCode, void* inBuffer,
                               Dword inBufferSize, void* outBuffer, Dword outBufferSize,
                               Dword* bytesReturned) = 0;
  virtual Bool CloseHandle(Handle device) = 0;
  // Holds the device's advisory lock (flock on Linux) while the handle is open, so
  // that nothing probes the drive during a firmware download. 0 on success.
  virtual Bool LockDevice(Handle device) = 0;
};

}  // namespace platform
