// Pass-through devices of the emulated machine.
#include "emulator/emulated_pass_through.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <type_traits>

#include "platform/win_errors.h"

namespace emu {

namespace {

using platform::Bool;
using platform::Dword;
using platform::Handle;

constexpr char kDevicePrefix[] = "\\\\.\\";
constexpr std::size_t kDevicePrefixLength = sizeof(kDevicePrefix) - 1;
constexpr std::size_t kMaxCdbLength = 16;
constexpr std::size_t kSenseKeyByte = 2;
constexpr std::size_t kAscByte = 12;
constexpr std::size_t kAscqByte = 13;

// "\\.\X:" -> 'X'; 0 when the name is not a drive-letter device.
char DeviceLetter(const char* fileName) {
  if (fileName == nullptr || std::strlen(fileName) != kDevicePrefixLength + 2 ||
      std::strncmp(fileName, kDevicePrefix, kDevicePrefixLength) != 0 ||
      fileName[kDevicePrefixLength + 1] != ':') {
    return 0;
  }
  const auto letter = static_cast<unsigned char>(fileName[kDevicePrefixLength]);
  return std::isalpha(letter) ? static_cast<char>(std::toupper(letter)) : 0;
}

template <typename Record>
constexpr bool kIsDirect = std::is_same_v<Record, platform::ScsiPassThroughDirect>;

}  // namespace

EmulatedPassThrough::EmulatedPassThrough(HandleAllocator& handles, EmulatedKernel& kernel,
                                         DeviceBus& bus, CommandLog& log, MachineClock& clock)
    : handles_(handles), kernel_(kernel), bus_(bus), log_(log), clock_(clock) {}

Bool EmulatedPassThrough::Fail(Dword code) {
  kernel_.SetLastError(code);
  return platform::kFalse;
}

Handle EmulatedPassThrough::CreateFileA(const char* fileName, Dword /*desiredAccess*/,
                                        Dword /*shareMode*/, Dword /*creationDisposition*/,
                                        Dword /*flagsAndAttributes*/) {
  const char letter = DeviceLetter(fileName);
  DeviceSlot* slot = letter != 0 ? bus_.AtLetter(letter) : nullptr;
  if (slot == nullptr) {
    kernel_.SetLastError(platform::kErrorFileNotFound);
    return platform::kInvalidHandleValue;
  }
  if (slot->config.openFails) {
    kernel_.SetLastError(platform::kErrorAccessDenied);
    return platform::kInvalidHandleValue;
  }
  const Handle handle = handles_.Next();
  std::lock_guard lock(mutex_);
  open_[handle] = OpenDevice{slot, false};
  return handle;
}

Bool EmulatedPassThrough::CloseHandle(Handle device) {
  std::lock_guard lock(mutex_);
  if (open_.erase(device) == 0) {
    kernel_.SetLastError(platform::kErrorInvalidHandle);
    return platform::kFalse;
  }
  return platform::kTrue;
}

Bool EmulatedPassThrough::LockDevice(Handle device) {
  std::lock_guard lock(mutex_);
  const auto found = open_.find(device);
  if (found == open_.end()) {
    kernel_.SetLastError(platform::kErrorInvalidHandle);
    return platform::kTrue;  // non-zero: not locked
  }
  for (const auto& [handle, other] : open_) {
    if (handle != device && other.slot == found->second.slot && other.locked) {
      kernel_.SetLastError(platform::kErrorSharingViolation);
      return platform::kTrue;
    }
  }
  found->second.locked = true;
  return 0;
}

std::size_t EmulatedPassThrough::OpenHandles() {
  std::lock_guard lock(mutex_);
  return open_.size();
}

Bool EmulatedPassThrough::DeviceIoControl(Handle device, Dword ioControlCode, void* inBuffer,
                                          Dword inBufferSize, void* outBuffer, Dword outBufferSize,
                                          Dword* bytesReturned) {
  OpenDevice open;
  {
    std::lock_guard lock(mutex_);
    const auto found = open_.find(device);
    if (found == open_.end()) return Fail(platform::kErrorInvalidHandle);
    open = found->second;
  }
  if (bytesReturned != nullptr) *bytesReturned = 0;
  switch (ioControlCode) {
    case platform::kIoctlScsiGetCapabilities:
      return GetCapabilities(outBuffer, outBufferSize, bytesReturned);
    case platform::kIoctlScsiGetAddress:
      return GetAddress(open, outBuffer, outBufferSize, bytesReturned);
    case platform::kIoctlScsiPassThrough:
      return PassThrough<platform::ScsiPassThrough>(open, ioControlCode, inBuffer, inBufferSize,
                                                    outBuffer, outBufferSize, bytesReturned);
    case platform::kIoctlScsiPassThroughDirect:
      return PassThrough<platform::ScsiPassThroughDirect>(
          open, ioControlCode, inBuffer, inBufferSize, outBuffer, outBufferSize, bytesReturned);
    default:
      return Fail(platform::kErrorInvalidFunction);
  }
}

Bool EmulatedPassThrough::GetCapabilities(void* out, Dword outSize, Dword* returned) {
  if (out == nullptr || outSize < sizeof(platform::IoScsiCapabilities)) {
    return Fail(platform::kErrorInsufficientBuffer);
  }
  platform::IoScsiCapabilities capabilities{};
  capabilities.Length = sizeof(capabilities);
  capabilities.MaximumTransferLength = kMaximumTransferLength;
  capabilities.MaximumPhysicalPages = kMaximumTransferLength / 4096 + 1;
  capabilities.AlignmentMask = 1;  // ATAPI moves 16-bit words
  std::memcpy(out, &capabilities, sizeof(capabilities));
  if (returned != nullptr) *returned = sizeof(capabilities);
  return platform::kTrue;
}

Bool EmulatedPassThrough::GetAddress(const OpenDevice& device, void* out, Dword outSize,
                                     Dword* returned) {
  if (out == nullptr || outSize < sizeof(platform::ScsiAddress)) {
    return Fail(platform::kErrorInsufficientBuffer);
  }
  platform::ScsiAddress address{};
  address.Length = sizeof(address);
  address.PortNumber = static_cast<platform::Uchar>(device.slot->config.adapter);
  address.PathId = device.slot->config.pathId;
  address.TargetId = static_cast<platform::Uchar>(device.slot->config.target);
  address.Lun = device.slot->config.lun;
  std::memcpy(out, &address, sizeof(address));
  if (returned != nullptr) *returned = sizeof(address);
  return platform::kTrue;
}

template <typename Record>
Bool EmulatedPassThrough::PassThrough(const OpenDevice& device, Dword ioControlCode, void* inBuffer,
                                      Dword inBufferSize, void* outBuffer, Dword outBufferSize,
                                      Dword* bytesReturned) {
  constexpr std::size_t kRecordSize = sizeof(Record);
  if (inBuffer == nullptr || outBuffer == nullptr || inBufferSize < kRecordSize ||
      outBufferSize < kRecordSize) {
    return Fail(platform::kErrorInvalidParameter);
  }
  Record record;
  std::memcpy(&record, inBuffer, kRecordSize);
  auto* in = static_cast<std::uint8_t*>(inBuffer);
  auto* out = static_cast<std::uint8_t*>(outBuffer);
  const std::uint32_t length = record.DataTransferLength;
  const bool dataIn = record.DataIn == platform::kScsiIoctlDataIn;

  // The checks Windows makes before a request reaches the drive.
  const bool senseFits =
      record.SenseInfoLength == 0 ||
      (record.SenseInfoOffset >= kRecordSize &&
       std::uint64_t{record.SenseInfoOffset} + record.SenseInfoLength <= outBufferSize);
  bool valid = record.Length == kRecordSize && record.CdbLength >= 1 &&
               record.CdbLength <= kMaxCdbLength &&
               record.DataIn <= platform::kScsiIoctlDataUnspecified &&
               !(record.DataIn == platform::kScsiIoctlDataUnspecified && length > 0) &&
               length <= kMaximumTransferLength && senseFits;
  std::span<std::uint8_t> data;
  if constexpr (kIsDirect<Record>) {
    valid = valid && (length == 0 || record.DataBuffer != nullptr);
    if (valid && length > 0) data = {static_cast<std::uint8_t*>(record.DataBuffer), length};
  } else {
    // The buffered data travels inside the record, whose data area is 512 bytes.
    const std::uint64_t end = std::uint64_t{record.DataBufferOffset} + length;
    valid = valid && (length == 0 || (record.DataBufferOffset >= kRecordSize &&
                                      length <= platform::kBufferedDataAreaSize &&
                                      end <= (dataIn ? outBufferSize : inBufferSize)));
    if (valid && length > 0) data = {(dataIn ? out : in) + record.DataBufferOffset, length};
  }
  if (!valid) return Fail(platform::kErrorInvalidParameter);

  CommandBlock command;
  std::copy_n(record.Cdb, record.CdbLength, command.cdb.begin());
  command.cdbLength = record.CdbLength;
  command.direction =
      length == 0 ? DataDirection::kNone : (dataIn ? DataDirection::kIn : DataDirection::kOut);
  command.data = data;

  DeviceSlot& slot = *device.slot;
  LoggedCommand entry;
  entry.path =
      kIsDirect<Record> ? CommandPath::kPassThroughDirect : CommandPath::kPassThroughBuffered;
  entry.letter = slot.config.letter;
  entry.adapter = static_cast<std::uint8_t>(slot.config.adapter);
  entry.pathId = record.PathId;
  entry.target = record.TargetId;
  entry.lun = record.Lun;
  std::copy_n(record.Cdb, kMaxCdbLength, entry.cdb.begin());
  entry.cdbLength = record.CdbLength;
  entry.ioControlCode = ioControlCode;
  entry.inBufferSize = inBufferSize;
  entry.outBufferSize = outBufferSize;
  entry.length = record.Length;
  entry.dataIn = record.DataIn;
  entry.transferLength = length;
  entry.timeOutValue = record.TimeOutValue;
  entry.senseInfoLength = record.SenseInfoLength;
  entry.senseInfoOffset = record.SenseInfoOffset;
  if constexpr (kIsDirect<Record>) {
    entry.dataBufferIsNull = record.DataBuffer == nullptr;
  } else {
    entry.dataBufferOffset = record.DataBufferOffset;
  }
  entry.deviceLocked = device.locked;
  if (command.direction == DataDirection::kOut) entry.dataOut.assign(data.begin(), data.end());
  const std::size_t logId = log_.Add(std::move(entry));
  auto failLogged = [&](Dword code) {
    if (LoggedCommand* logged = log_.Find(logId)) {
      logged->transportFailed = true;
      logged->errorCode = code;
    }
    return Fail(code);
  };

  if (!slot.config.answers) return failLogged(platform::kErrorIoDevice);
  const ExchangeResult result = bus_.Exchange(slot, command);
  const std::uint64_t timeoutMs = std::uint64_t{record.TimeOutValue} * 1000;
  if (result.delayMs > timeoutMs) {
    clock_.Sleep(static_cast<Dword>(timeoutMs));
    return failLogged(platform::kErrorSemTimeout);
  }
  if (result.delayMs > 0) clock_.Sleep(result.delayMs);
  if (result.transportFailure) return failLogged(platform::kErrorIoDevice);

  const CommandAnswer& answer = result.answer;
  record.ScsiStatus = answer.scsiStatus;
  const std::uint32_t transferred = std::min(answer.bytesTransferred, length);
  if (dataIn) record.DataTransferLength = transferred;  // an underrun reports what came
  std::memcpy(out, &record, kRecordSize);
  std::size_t senseCopied = 0;
  if (answer.scsiStatus != kStatusGood && record.SenseInfoLength > 0) {
    senseCopied = std::min<std::size_t>(record.SenseInfoLength, answer.sense.size());
    std::memcpy(out + record.SenseInfoOffset, answer.sense.data(), senseCopied);
  }
  Dword returned = kRecordSize;
  if (senseCopied > 0) returned = record.SenseInfoOffset + static_cast<Dword>(senseCopied);
  if constexpr (!kIsDirect<Record>) {
    if (dataIn && transferred > 0) {
      returned = static_cast<Dword>(record.DataBufferOffset + transferred);
    }
  }
  if (bytesReturned != nullptr) *bytesReturned = returned;

  if (LoggedCommand* logged = log_.Find(logId)) {
    logged->scsiStatus = answer.scsiStatus;
    if (answer.scsiStatus != kStatusGood) {
      logged->senseTriple = {answer.sense[kSenseKeyByte], answer.sense[kAscByte],
                             answer.sense[kAscqByte]};
    }
  }
  return platform::kTrue;
}

}  // namespace emu
