// SET CD SPEED, START STOP UNIT and MODE SENSE(6)/(10) of page 2Ah as both
// speed utility builds send them.
#include "pace/speed_commands.h"

#include "drvcmd/big_endian.h"

namespace pace {

namespace {

using drvcmd::DataDirection;
using drvcmd::ScsiRequest;

constexpr std::uint8_t kPassThroughDataIn = 1;  // SCSI_IOCTL_DATA_IN, also without data

bool OnAspi(const drvcmd::Transport& transport) { return drvcmd::UsesAspi(transport.Program()); }

// A command without data: pass-through flags it data-in with length 0, ASPI
// sends no direction bit; both point at the data buffer.
ScsiRequest NoDataRequest(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                          std::uint8_t opcode, std::size_t cdbLength,
                          std::uint32_t passThroughTimeout) {
  ScsiRequest request;
  request.address = drive;
  request.cdb[0] = opcode;
  request.cdbLength = static_cast<std::uint8_t>(cdbLength);
  request.direction = DataDirection::kNone;
  request.passThroughDataIn = kPassThroughDataIn;
  request.buffer = transport.DataBuffer().empty() ? nullptr : transport.DataBuffer().data();
  request.transferLength = 0;
  if (OnAspi(transport)) {
    request.waitMilliseconds = drvcmd::kWaitInfinite;
  } else {
    request.timeoutSeconds = passThroughTimeout;
    request.senseLength = kSpeedCommandSenseLength;
  }
  return request;
}

std::size_t HeaderLength(const PaceVariant& variant) {
  return variant.modeSense == ModeSenseKind::kSixByte ? kModeHeader6Length : kModeHeader10Length;
}

}  // namespace

int SetCdSpeed(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
               const PaceVariant& variant, std::uint8_t modeControl, std::uint16_t readSpeed,
               std::uint16_t writeSpeed) {
  ScsiRequest request = NoDataRequest(transport, drive, kOpSetCdSpeed, kSetCdSpeedCdbLength,
                                      kSetCdSpeedTimeoutSeconds);
  request.cdb[kSetCdSpeedModeByte] =
      static_cast<std::uint8_t>(modeControl & variant.modeControlMask);
  drvcmd::PutBe16(&request.cdb[kSetCdSpeedReadSpeedByte], readSpeed);
  drvcmd::PutBe16(&request.cdb[kSetCdSpeedWriteSpeedByte], writeSpeed);
  return transport.ExecuteRequest(request);
}

int StopSpindle(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                std::uint8_t immediate, std::uint8_t startLoEj, std::uint8_t powerCondition) {
  ScsiRequest request = NoDataRequest(transport, drive, kOpStartStopUnit, kStartStopCdbLength,
                                      kStopSpindleTimeoutSeconds);
  request.cdb[kStartStopImmediateByte] = immediate;
  request.cdb[kStartStopControlByte] = static_cast<std::uint8_t>(
      (startLoEj & kStartStopStartLoEjMask) | (powerCondition & kStartStopPowerConditionMask));
  return transport.ExecuteRequest(request);
}

int ReadCapabilitiesPage(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                         const PaceVariant& variant, CapabilitiesReply& reply) {
  reply.fill(0);
  ScsiRequest request;
  request.address = drive;
  request.direction = DataDirection::kIn;
  request.passThroughDataIn = kPassThroughDataIn;
  request.buffer = reply.data();
  request.cdb[kModeSenseDbdByte] = kModeSenseDbd;
  request.cdb[kModeSensePageByte] = kCapabilitiesPageCode;
  if (variant.modeSense == ModeSenseKind::kSixByte) {
    request.cdb[0] = kOpModeSense6;
    request.cdbLength = kModeSense6CdbLength;
    request.cdb[kModeSense6AllocationByte] = static_cast<std::uint8_t>(kModeSense6ReplyLength);
    request.transferLength = kModeSense6ReplyLength;
  } else {
    request.cdb[0] = kOpModeSense10;
    request.cdbLength = kModeSense10CdbLength;
    drvcmd::PutBe16(&request.cdb[kModeSense10AllocationByte],
                    static_cast<std::uint16_t>(kModeSense10ReplyLength));
    request.transferLength = kModeSense10ReplyLength;
  }
  if (OnAspi(transport)) {
    request.waitMilliseconds = drvcmd::kWaitInfinite;
  } else {
    request.timeoutSeconds = kCapabilitiesTimeoutSeconds;
    request.senseLength = kCapabilitiesSenseLength;
  }
  return transport.ExecuteRequest(request);
}

ReadSpeeds SpeedsFromReply(const PaceVariant& variant, const CapabilitiesReply& reply) {
  const std::uint8_t* page = reply.data() + HeaderLength(variant);
  static_assert(kModeHeader10Length + kPageCurrentReadSpeedByte + 2 <= kModeSense10ReplyLength);
  static_assert(kModeHeader6Length + kPageCurrentReadSpeedByte + 2 <= kModeSense6ReplyLength);
  return {drvcmd::GetBe16(page + kPageCurrentReadSpeedByte),
          drvcmd::GetBe16(page + kPageMaximumReadSpeedByte)};
}

}  // namespace pace
