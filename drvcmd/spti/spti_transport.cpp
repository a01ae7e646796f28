// Pass-through back-end: buffers, drive open/close and ExecuteRequest through
// the direct or buffered pass-through record.
#include "drvcmd/spti/spti_transport.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "drvcmd/generic_commands.h"
#include "drvcmd/global_buffer.h"
#include "platform/win_errors.h"

namespace drvcmd {

namespace {

enum MemoryIndex { kDataMemory, kImageMemory, kSmallMemory };

constexpr platform::Dword kDirectRecordSize = sizeof(platform::ScsiPassThroughDirectWithSense);
constexpr platform::Dword kBufferedRecordSize = sizeof(platform::ScsiPassThroughWithBuffers);
constexpr platform::Dword kBufferedDataOffset =
    offsetof(platform::ScsiPassThroughWithBuffers, DataBuf);
constexpr platform::Ulong kDirectSenseOffset =
    offsetof(platform::ScsiPassThroughDirectWithSense, SenseBuf);
constexpr platform::Ulong kBufferedSenseOffset =
    offsetof(platform::ScsiPassThroughWithBuffers, SenseBuf);

bool IsDriveLetter(char letter) {
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

// Commands without data keep the DataIn flag listed for them.
platform::Uchar DataInFlag(const ScsiRequest& request) {
  switch (request.direction) {
    case DataDirection::kIn:
      return platform::kScsiIoctlDataIn;
    case DataDirection::kOut:
      return platform::kScsiIoctlDataOut;
    case DataDirection::kNone:
      break;
  }
  return request.passThroughDataIn;
}

platform::Uchar SenseLengthOf(const ScsiRequest& request) {
  return static_cast<platform::Uchar>(
      std::min<std::size_t>(request.senseLength, platform::kSenseAreaSize));
}

// The fields the direct and the buffered header share; where the data and the
// sense go is set by the caller.
template <typename Header>
void FillHeader(Header& header, const ScsiRequest& request, const platform::ScsiAddress& address) {
  header.Length = sizeof(Header);
  header.PathId = address.PathId;
  header.TargetId = address.TargetId;
  header.Lun = address.Lun;
  header.CdbLength = kCdbSize;  // always 12: shorter commands go out zero padded
  header.SenseInfoLength = SenseLengthOf(request);
  header.DataIn = DataInFlag(request);
  header.DataTransferLength = request.transferLength;
  header.TimeOutValue = request.timeoutSeconds;
  std::memcpy(header.Cdb, request.cdb.data(), kCdbSize);
}

}  // namespace

SptiTransport::~SptiTransport() {
  CloseDrive();
  StopTransport();
}

int SptiTransport::StartTransport() {
  StopTransport();  // a second start must not leak the first buffers
  platform::Kernel& kernel = system_.Kernel32();
  if (!AllocateLockedBuffer(kernel, kDataBufferSize, memory_[kDataMemory], dataBuffer_) ||
      !AllocateLockedBuffer(kernel, kImageBufferSize, memory_[kImageMemory], imageBuffer_) ||
      !AllocateLockedBuffer(kernel, kSmallBufferSize, memory_[kSmallMemory], smallBuffer_)) {
    return kStartMemoryError;
  }
  return kStartOk;
}

int SptiTransport::StopTransport() {
  platform::Kernel& kernel = system_.Kernel32();
  FreeLockedBuffer(kernel, memory_[kSmallMemory], smallBuffer_);
  FreeLockedBuffer(kernel, memory_[kImageMemory], imageBuffer_);
  FreeLockedBuffer(kernel, memory_[kDataMemory], dataBuffer_);
  return 0;
}

int SptiTransport::OpenDrive(char letter) {
  // Replacing the kept handle would leak the earlier one.
  CloseDrive();
  if (!IsDriveLetter(letter)) return -1;

  const std::string path = std::string("\\\\.\\") + letter + ":";
  platform::PassThroughService& service = system_.PassThrough();
  const platform::Handle handle = service.CreateFileA(
      path.c_str(), platform::kGenericRead | platform::kGenericWrite,
      platform::kFileShareRead | platform::kFileShareWrite, platform::kOpenExisting, 0);
  if (handle == platform::kInvalidHandleValue || handle == platform::kNullHandle) return -1;

  platform::IoScsiCapabilities capabilities{};
  platform::ScsiAddress address{};
  platform::Dword returned = 0;
  const bool usable =
      service.DeviceIoControl(handle, platform::kIoctlScsiGetCapabilities, nullptr, 0,
                              &capabilities, sizeof(capabilities), &returned) != 0 &&
      service.DeviceIoControl(handle, platform::kIoctlScsiGetAddress, nullptr, 0, &address,
                              sizeof(address), &returned) != 0;
  if (!usable) {
    service.CloseHandle(handle);
    return -1;
  }
  handle_ = handle;
  openLetter_ = letter;
  address_ = address;
  return 0;
}

int SptiTransport::CloseDrive() {
  if (handle_ != platform::kNullHandle) system_.PassThrough().CloseHandle(handle_);
  handle_ = platform::kNullHandle;
  openLetter_ = 0;
  return 0;
}

int SptiTransport::LockOpenDrive() {
  if (!DriveIsOpen()) return -1;
  // The service answers 0 once it holds the lock.
  return system_.PassThrough().LockDevice(handle_) == 0 ? 0 : -1;
}

int SptiTransport::SendRequest(ScsiRequest& request) {
  request.address.letter = openLetter_;
  platform::Dword error = platform::kErrorSuccess;
  if (!DriveIsOpen()) {
    return Classify(request, false, platform::kErrorInvalidHandle, 0, nullptr);
  }
  // A transfer needs a buffer, and the buffered record holds at most its data area.
  const bool buffered = request.record == RecordKind::kBuffered;
  if ((request.transferLength > 0 && request.buffer == nullptr && !buffered) ||
      (buffered && request.transferLength > platform::kBufferedDataAreaSize)) {
    return Classify(request, false, platform::kErrorInvalidParameter, 0, nullptr);
  }
  if (request.zeroBufferFirst && request.buffer != nullptr) {
    std::memset(request.buffer, 0, request.transferLength);
  }
  return buffered ? SendBuffered(request, &error) : SendDirect(request, &error);
}

int SptiTransport::SendDirect(ScsiRequest& request, platform::Dword* error) {
  direct_ = {};
  platform::ScsiPassThroughDirect& header = direct_.sptd;
  FillHeader(header, request, address_);
  header.DataBuffer = request.buffer;
  header.SenseInfoOffset = kDirectSenseOffset;

  platform::Dword returned = 0;
  const bool ok = system_.PassThrough().DeviceIoControl(
                      handle_, platform::kIoctlScsiPassThroughDirect, &direct_, kDirectRecordSize,
                      &direct_, kDirectRecordSize, &returned) != 0;
  if (!ok) *error = system_.Kernel32().GetLastError();
  request.transferred = ok ? header.DataTransferLength : 0;
  return Classify(request, ok, *error, header.ScsiStatus, direct_.SenseBuf);
}

int SptiTransport::SendBuffered(ScsiRequest& request, platform::Dword* error) {
  buffered_ = {};
  platform::ScsiPassThrough& header = buffered_.spt;
  FillHeader(header, request, address_);
  header.DataBufferOffset = kBufferedDataOffset;
  header.SenseInfoOffset = kBufferedSenseOffset;
  if (request.direction == DataDirection::kOut && request.buffer != nullptr) {
    std::memcpy(buffered_.DataBuf, request.buffer, request.transferLength);
  }

  platform::Dword returned = 0;
  const bool ok = system_.PassThrough().DeviceIoControl(
                      handle_, platform::kIoctlScsiPassThrough, &buffered_, kBufferedRecordSize,
                      &buffered_, kBufferedDataOffset + request.transferLength, &returned) != 0;
  if (!ok) *error = system_.Kernel32().GetLastError();
  request.transferred = ok ? header.DataTransferLength : 0;
  const int outcome = Classify(request, ok, *error, header.ScsiStatus, buffered_.SenseBuf);
  // INQUIRY hands its data on to the caller's buffer; REQUEST SENSE names none
  // and leaves its data in the record.
  if (outcome == kOutcomeGood && request.direction == DataDirection::kIn &&
      request.buffer != nullptr) {
    std::memcpy(request.buffer, buffered_.DataBuf, request.transferLength);
  }
  return outcome;
}

int SptiTransport::Classify(ScsiRequest& request, bool callSucceeded, platform::Dword error,
                            platform::Uchar scsiStatus, const platform::Uchar* senseArea) {
  int outcome = kOutcomeGood;
  if (program_ == ProgramId::kFlashSpti) {
    if (!callSucceeded) {
      ShowSystemError(system_.Kernel32(), notice_, error);
      outcome = kOutcomeFailure;
    } else if (scsiStatus != 0) {
      outcome = kOutcomeCheckCondition;
    }
  } else if (!callSucceeded || scsiStatus != 0) {
    // A failed call is a failure even when it left ScsiStatus 0: the callers
    // report it with whatever sense came back.
    outcome = kOutcomeCheckCondition;
  }

  request.scsiStatus = scsiStatus;
  request.sense = {};
  lastScsiStatus_ = scsiStatus;
  if (outcome == kOutcomeCheckCondition) {
    lastSense_ = {};
    if (senseArea != nullptr) std::memcpy(lastSense_.data(), senseArea, SenseLengthOf(request));
    request.sense = lastSense_;
  }
  request.outcome = outcome;
  lastOutcome_ = outcome;
  return outcome;
}

}  // namespace drvcmd
