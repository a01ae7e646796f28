// WindowsPassThrough and the system's device calls.
#include "platform/windows/windows_pass_through.h"

#include <cstddef>

#include "platform/windows/win32.h"

namespace platform {

// Our records are handed to the driver as they are: they must be the SDK's,
// field by field.
#define DVDUTIL_SAME_FIELD(ours, sdk, field)                     \
  static_assert(offsetof(ours, field) == offsetof(sdk, field) && \
                sizeof(ours::field) == sizeof(sdk::field))
#define DVDUTIL_SAME_PASS_THROUGH_HEADER(ours, sdk)  \
  static_assert(sizeof(ours) == sizeof(sdk));        \
  DVDUTIL_SAME_FIELD(ours, sdk, Length);             \
  DVDUTIL_SAME_FIELD(ours, sdk, ScsiStatus);         \
  DVDUTIL_SAME_FIELD(ours, sdk, PathId);             \
  DVDUTIL_SAME_FIELD(ours, sdk, TargetId);           \
  DVDUTIL_SAME_FIELD(ours, sdk, Lun);                \
  DVDUTIL_SAME_FIELD(ours, sdk, CdbLength);          \
  DVDUTIL_SAME_FIELD(ours, sdk, SenseInfoLength);    \
  DVDUTIL_SAME_FIELD(ours, sdk, DataIn);             \
  DVDUTIL_SAME_FIELD(ours, sdk, DataTransferLength); \
  DVDUTIL_SAME_FIELD(ours, sdk, TimeOutValue);       \
  DVDUTIL_SAME_FIELD(ours, sdk, SenseInfoOffset);    \
  DVDUTIL_SAME_FIELD(ours, sdk, Cdb)

DVDUTIL_SAME_PASS_THROUGH_HEADER(ScsiPassThrough, SCSI_PASS_THROUGH);
DVDUTIL_SAME_FIELD(ScsiPassThrough, SCSI_PASS_THROUGH, DataBufferOffset);
DVDUTIL_SAME_PASS_THROUGH_HEADER(ScsiPassThroughDirect, SCSI_PASS_THROUGH_DIRECT);
DVDUTIL_SAME_FIELD(ScsiPassThroughDirect, SCSI_PASS_THROUGH_DIRECT, DataBuffer);

static_assert(sizeof(IoScsiCapabilities) == sizeof(IO_SCSI_CAPABILITIES));
DVDUTIL_SAME_FIELD(IoScsiCapabilities, IO_SCSI_CAPABILITIES, Length);
DVDUTIL_SAME_FIELD(IoScsiCapabilities, IO_SCSI_CAPABILITIES, MaximumTransferLength);
DVDUTIL_SAME_FIELD(IoScsiCapabilities, IO_SCSI_CAPABILITIES, MaximumPhysicalPages);
DVDUTIL_SAME_FIELD(IoScsiCapabilities, IO_SCSI_CAPABILITIES, SupportedAsynchronousEvents);
DVDUTIL_SAME_FIELD(IoScsiCapabilities, IO_SCSI_CAPABILITIES, AlignmentMask);
DVDUTIL_SAME_FIELD(IoScsiCapabilities, IO_SCSI_CAPABILITIES, TaggedQueuing);
DVDUTIL_SAME_FIELD(IoScsiCapabilities, IO_SCSI_CAPABILITIES, AdapterScansDown);
DVDUTIL_SAME_FIELD(IoScsiCapabilities, IO_SCSI_CAPABILITIES, AdapterUsesPio);

static_assert(sizeof(ScsiAddress) == sizeof(SCSI_ADDRESS));
DVDUTIL_SAME_FIELD(ScsiAddress, SCSI_ADDRESS, Length);
DVDUTIL_SAME_FIELD(ScsiAddress, SCSI_ADDRESS, PortNumber);
DVDUTIL_SAME_FIELD(ScsiAddress, SCSI_ADDRESS, PathId);
DVDUTIL_SAME_FIELD(ScsiAddress, SCSI_ADDRESS, TargetId);
DVDUTIL_SAME_FIELD(ScsiAddress, SCSI_ADDRESS, Lun);

#undef DVDUTIL_SAME_PASS_THROUGH_HEADER
#undef DVDUTIL_SAME_FIELD

static_assert(kIoctlScsiPassThrough == IOCTL_SCSI_PASS_THROUGH);
static_assert(kIoctlScsiPassThroughDirect == IOCTL_SCSI_PASS_THROUGH_DIRECT);
static_assert(kIoctlScsiGetCapabilities == IOCTL_SCSI_GET_CAPABILITIES);
static_assert(kIoctlScsiGetAddress == IOCTL_SCSI_GET_ADDRESS);
static_assert(kFsctlLockVolume == FSCTL_LOCK_VOLUME);
static_assert(kScsiIoctlDataIn == SCSI_IOCTL_DATA_IN && kScsiIoctlDataOut == SCSI_IOCTL_DATA_OUT);
static_assert(kGenericRead == GENERIC_READ && kGenericWrite == GENERIC_WRITE &&
              kFileShareRead == FILE_SHARE_READ && kFileShareWrite == FILE_SHARE_WRITE &&
              kOpenExisting == OPEN_EXISTING);
// INVALID_HANDLE_VALUE is (HANDLE)-1, which kInvalidHandleValue stands for.
static_assert(sizeof(Handle) == sizeof(HANDLE));

Handle SystemDeviceCalls::CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode,
                                      Dword creationDisposition, Dword flagsAndAttributes) {
  return FromSystemHandle(::CreateFileA(fileName, desiredAccess, shareMode, nullptr,
                                        creationDisposition, flagsAndAttributes, nullptr));
}

Bool SystemDeviceCalls::DeviceIoControl(Handle device, Dword ioControlCode, void* inBuffer,
                                        Dword inBufferSize, void* outBuffer, Dword outBufferSize,
                                        Dword* bytesReturned) {
  DWORD returned = 0;
  const BOOL ok = ::DeviceIoControl(ToSystemHandle(device), ioControlCode, inBuffer, inBufferSize,
                                    outBuffer, outBufferSize, &returned, nullptr);
  if (bytesReturned != nullptr) *bytesReturned = returned;
  return ok;
}

Bool SystemDeviceCalls::CloseHandle(Handle device) { return ::CloseHandle(ToSystemHandle(device)); }

Handle WindowsPassThrough::CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode,
                                       Dword creationDisposition, Dword flagsAndAttributes) {
  return calls_.CreateFileA(fileName, desiredAccess, shareMode, creationDisposition,
                            flagsAndAttributes);
}

Bool WindowsPassThrough::DeviceIoControl(Handle device, Dword ioControlCode, void* inBuffer,
                                         Dword inBufferSize, void* outBuffer, Dword outBufferSize,
                                         Dword* bytesReturned) {
  return calls_.DeviceIoControl(device, ioControlCode, inBuffer, inBufferSize, outBuffer,
                                outBufferSize, bytesReturned);
}

Bool WindowsPassThrough::CloseHandle(Handle device) { return calls_.CloseHandle(device); }

Bool WindowsPassThrough::LockDevice(Handle device) {
  Dword returned = 0;
  // 0 means locked, as the other systems' services answer.
  return calls_.DeviceIoControl(device, kFsctlLockVolume, nullptr, 0, nullptr, 0, &returned) != 0
             ? kFalse
             : kTrue;
}

}  // namespace platform
