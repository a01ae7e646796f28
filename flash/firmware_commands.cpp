// READ BUFFER 80h and WRITE BUFFER 30h/FFh/42h as both updater builds send them.
#include "flash/firmware_commands.h"

#include "drvcmd/big_endian.h"

namespace flash {

namespace {

using drvcmd::DataDirection;
using drvcmd::ScsiRequest;

constexpr std::uint8_t kPassThroughDataOut = 0;  // SCSI_IOCTL_DATA_OUT
constexpr std::uint8_t kPassThroughDataIn = 1;   // SCSI_IOCTL_DATA_IN

bool FitsCommand(std::uint32_t offset, std::size_t length) {
  return offset <= kMaxBufferOffset && length <= kMaxBufferTransfer;
}

// The settings every firmware command shares: direct record, no sense bytes;
// pass-through waits 5 s, ASPI waits for completion without limit.
ScsiRequest BufferRequest(const drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                          std::uint8_t opcode, std::uint8_t bufferId, std::uint32_t offset,
                          std::uint32_t length) {
  ScsiRequest request;
  request.address = drive;
  request.cdb[0] = opcode;
  request.cdb[kBufferCdbModeByte] = kBufferModeVendorSpecific;
  request.cdb[kBufferCdbIdByte] = bufferId;
  drvcmd::PutBe24(&request.cdb[kBufferCdbOffsetByte], offset);
  drvcmd::PutBe16(&request.cdb[kBufferCdbLengthByte], static_cast<std::uint16_t>(length));
  request.cdbLength = static_cast<std::uint8_t>(kBufferCdbLength);
  request.senseLength = 0;
  request.record = drvcmd::RecordKind::kDirect;
  if (drvcmd::UsesAspi(transport.Program())) {
    request.waitMilliseconds = drvcmd::kWaitInfinite;
  } else {
    request.timeoutSeconds = kFirmwareCommandTimeoutSeconds;
  }
  return request;
}

// WRITE BUFFER without data. Pass-through still flags it data-out and points at
// the small buffer; ASPI sends no direction bit and points at the data buffer.
int SendWriteBufferControl(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                           std::uint8_t bufferId) {
  ScsiRequest request = BufferRequest(transport, drive, kOpWriteBuffer, bufferId, 0, 0);
  request.direction = DataDirection::kNone;
  request.passThroughDataIn = kPassThroughDataOut;
  request.buffer = drvcmd::UsesAspi(transport.Program()) ? transport.DataBuffer().data()
                                                         : transport.SmallBuffer().data();
  request.transferLength = 0;
  return transport.ExecuteRequest(request);
}

}  // namespace

int SendWriteBufferStart(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive) {
  return SendWriteBufferControl(transport, drive, kBufferIdDownloadStart);
}

int SendWriteBufferFinish(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive) {
  return SendWriteBufferControl(transport, drive, kBufferIdDownloadFinish);
}

int SendWriteBufferData(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                        std::uint32_t driveOffset, std::span<std::uint8_t> source) {
  if (!FitsCommand(driveOffset, source.size())) return drvcmd::kOutcomeFailure;
  const auto length = static_cast<std::uint32_t>(source.size());
  ScsiRequest request =
      BufferRequest(transport, drive, kOpWriteBuffer, kBufferIdDownloadData, driveOffset, length);
  request.direction = DataDirection::kOut;
  request.passThroughDataIn = kPassThroughDataOut;
  request.buffer = source.data();
  request.transferLength = length;
  return transport.ExecuteRequest(request);
}

int SendReadBuffer(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                   std::uint32_t driveOffset, std::span<std::uint8_t> target) {
  if (!FitsCommand(driveOffset, target.size())) return drvcmd::kOutcomeFailure;
  const auto length = static_cast<std::uint32_t>(target.size());
  ScsiRequest request =
      BufferRequest(transport, drive, kOpReadBuffer, kBufferIdDriveMemory, driveOffset, length);
  request.direction = DataDirection::kIn;
  request.passThroughDataIn = kPassThroughDataIn;
  request.buffer = target.data();
  request.transferLength = length;
  // The pass-through build has the transport clear the target, so a short
  // answer leaves no stale bytes.
  request.zeroBufferFirst = !drvcmd::UsesAspi(transport.Program());
  return transport.ExecuteRequest(request);
}

}  // namespace flash
