// The emulated drive's command set: INQUIRY, REQUEST SENSE, TEST UNIT READY,
// the vendor firmware commands (READ BUFFER 80h, WRITE BUFFER 30h/FFh/42h) and
// the dispatch of the region commands (emulated_drive_region.cpp).
#include "emulator/emulated_drive.h"

#include <algorithm>

#include "emulator/firmware_builder.h"

namespace emu {
namespace {

// Opcodes.
constexpr std::uint8_t kOpTestUnitReady = 0x00;
constexpr std::uint8_t kOpRequestSense = 0x03;
constexpr std::uint8_t kOpInquiry = 0x12;
constexpr std::uint8_t kOpWriteBuffer = 0x3B;
constexpr std::uint8_t kOpReadBuffer = 0x3C;
constexpr std::uint8_t kOpSendKey = 0xA3;
constexpr std::uint8_t kOpReportKey = 0xA4;
constexpr std::uint8_t kOpReadDvdStructure = 0xAD;

// INQUIRY data.
constexpr std::size_t kInquiryEvpdByte = 1;
constexpr std::uint8_t kInquiryEvpdBit = 0x01;
constexpr std::size_t kInquiryAllocationOffset = 3;  // 16 bits

// REQUEST SENSE.
constexpr std::size_t kRequestSenseAllocationOffset = 4;
constexpr std::size_t kRequestSenseDescByte = 1;
constexpr std::uint8_t kRequestSenseDescBit = 0x01;

// Fixed-format sense data.
constexpr std::uint8_t kSenseResponseCurrent = 0x70;
constexpr std::size_t kSenseKeyOffset = 2;
constexpr std::size_t kSenseAdditionalLengthOffset = 7;
constexpr std::uint8_t kSenseAdditionalLength = kSenseDataSize - 8;
constexpr std::size_t kSenseAscOffset = 12;
constexpr std::size_t kSenseAscqOffset = 13;

// READ/WRITE BUFFER fields.
constexpr std::size_t kBufferModeOffset = 1;
constexpr std::uint8_t kBufferModeMask = 0x1F;
constexpr std::uint8_t kBufferModeVendor = 0x01;
constexpr std::size_t kBufferIdOffset = 2;
constexpr std::size_t kBufferOffsetOffset = 3;  // 24 bits
constexpr std::size_t kBufferLengthOffset = 6;  // 24 bits
constexpr std::uint8_t kBufferIdMemory = 0x80;
constexpr std::uint8_t kBufferIdStart = 0x30;
constexpr std::uint8_t kBufferIdData = 0xFF;
constexpr std::uint8_t kBufferIdFinish = 0x42;

struct Chunk {
  std::uint32_t offset;
  std::uint32_t length;
};
// The download, in the only order the drive takes it.
constexpr Chunk kDownloadChunks[] = {{0x00000, 0x8000},
                                     {0x08000, 0x8000},
                                     {0x10000, 0x8000},
                                     {0x18000, 0x8000},
                                     {kDriveMainImageSize, kDriveTailSize}};
static_assert(kDriveMainImageSize == 4 * 0x8000);

// Sense codes the drive reports.
constexpr SenseCode kNoSense{0x00, 0x00, 0x00};
constexpr SenseCode kNotReadyNoDisc{0x02, 0x3A, 0x00};
constexpr SenseCode kNotReadyBecomingReady{0x02, 0x04, 0x01};
constexpr SenseCode kInvalidOpcode{0x05, 0x20, 0x00};
constexpr SenseCode kInvalidFieldInCdb{0x05, 0x24, 0x00};
constexpr SenseCode kParameterListLengthError{0x05, 0x1A, 0x00};
constexpr SenseCode kInvalidFieldInParameterList{0x05, 0x26, 0x00};
constexpr SenseCode kCommandSequenceError{0x05, 0x2C, 0x00};

std::uint32_t GetBe16(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 8 | p[1];
}
std::uint32_t GetBe24(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2];
}

std::array<std::uint8_t, kSenseDataSize> FixedSense(SenseCode code) {
  std::array<std::uint8_t, kSenseDataSize> sense{};
  sense[0] = kSenseResponseCurrent;
  sense[kSenseKeyOffset] = code.key;
  sense[kSenseAdditionalLengthOffset] = kSenseAdditionalLength;
  sense[kSenseAscOffset] = code.asc;
  sense[kSenseAscqOffset] = code.ascq;
  return sense;
}

// Copies at most `length` bytes into the command's data-in area.
std::uint32_t TransferIn(const CommandBlock& command, std::span<const std::uint8_t> source,
                         std::uint32_t length) {
  if (command.direction != DataDirection::kIn) return 0;
  const std::size_t n =
      std::min({static_cast<std::size_t>(length), source.size(), command.data.size()});
  std::copy_n(source.begin(), n, command.data.begin());
  return static_cast<std::uint32_t>(n);
}

}  // namespace

EmulatedDrive::~EmulatedDrive() = default;

CommandAnswer EmulatedDrive::Good(std::uint32_t bytes) {
  CommandAnswer answer;
  answer.scsiStatus = kStatusGood;
  answer.bytesTransferred = bytes;
  return answer;
}

CommandAnswer EmulatedDrive::Check(SenseCode sense) {
  pendingSense_ = FixedSense(sense);
  sensePending_ = true;
  CommandAnswer answer;
  answer.scsiStatus = kStatusCheckCondition;
  answer.sense = pendingSense_;
  return answer;
}

CommandAnswer EmulatedDrive::FailWith(SenseCode sense) { return Check(sense); }

bool EmulatedDrive::IsNotReady(std::uint32_t nowMs) const {
  // Wrap-safe: the clock is a 32-bit millisecond counter.
  return notReady_ && static_cast<std::int32_t>(nowMs - readyAtMs_) < 0;
}

CommandAnswer EmulatedDrive::Execute(const CommandBlock& command, std::uint32_t nowMs) {
  if (command.cdbLength == 0) return Check(kInvalidOpcode);
  const std::uint8_t opcode = command.cdb[0];
  // INQUIRY and REQUEST SENSE leave the pending sense alone; every other command
  // replaces it with its own outcome.
  if (opcode == kOpInquiry) return Inquiry(command);
  if (opcode == kOpRequestSense) return RequestSense(command, nowMs);
  sensePending_ = false;
  pendingSense_ = FixedSense(kNoSense);

  if (IsNotReady(nowMs)) return Check(kNotReadyBecomingReady);
  notReady_ = false;

  if (std::optional<CommandAnswer> answer = ExecuteSpeedCommand(command)) return *answer;
  switch (opcode) {
    case kOpTestUnitReady:
      return TestUnitReady(nowMs);
    case kOpReadBuffer:
      if (HasFirmware()) return ReadBuffer(command);
      break;
    case kOpWriteBuffer:
      if (HasFirmware()) return WriteBuffer(command, nowMs);
      break;
    case kOpReportKey:
      if (AnswersDvdCommands()) return ReportKey(command);
      break;
    case kOpSendKey:
      if (AnswersDvdCommands()) return SendKey(command);
      break;
    case kOpReadDvdStructure:
      if (AnswersDvdCommands()) return ReadDvdStructure(command);
      break;
    default:
      break;
  }
  return Check(kInvalidOpcode);
}

CommandAnswer EmulatedDrive::Inquiry(const CommandBlock& command) {
  // Only standard INQUIRY data; vital product data pages are not offered.
  if ((command.cdb[kInquiryEvpdByte] & kInquiryEvpdBit) != 0 || command.cdb[2] != 0) {
    return Check(kInvalidFieldInCdb);
  }
  const std::uint32_t allocation = GetBe16(&command.cdb[kInquiryAllocationOffset]);
  return Good(TransferIn(command, inquiry_, allocation));
}

CommandAnswer EmulatedDrive::RequestSense(const CommandBlock& command, std::uint32_t nowMs) {
  if ((command.cdb[kRequestSenseDescByte] & kRequestSenseDescBit) != 0) {
    return Check(kInvalidFieldInCdb);  // descriptor format not offered
  }
  std::array<std::uint8_t, kSenseDataSize> sense = FixedSense(kNoSense);
  if (sensePending_) {
    sense = pendingSense_;
  } else if (IsNotReady(nowMs)) {
    sense = FixedSense(kNotReadyBecomingReady);
  }
  sensePending_ = false;
  pendingSense_ = FixedSense(kNoSense);
  const std::uint32_t allocation = command.cdb[kRequestSenseAllocationOffset];
  return Good(TransferIn(command, sense, allocation));
}

CommandAnswer EmulatedDrive::TestUnitReady(std::uint32_t) {
  if (disc_ == DiscKind::kNone) return Check(kNotReadyNoDisc);
  return Good();
}

CommandAnswer EmulatedDrive::ReadBuffer(const CommandBlock& command) {
  if ((command.cdb[kBufferModeOffset] & kBufferModeMask) != kBufferModeVendor ||
      command.cdb[kBufferIdOffset] != kBufferIdMemory) {
    return Check(kInvalidFieldInCdb);
  }
  const std::uint32_t offset = GetBe24(&command.cdb[kBufferOffsetOffset]);
  const std::uint32_t length = GetBe24(&command.cdb[kBufferLengthOffset]);
  if (const BufferFault* fault = TakeBufferFault(kBufferIdMemory, offset)) {
    return Check(fault->sense);
  }
  if (offset > memory_.size() || length > memory_.size() - offset) {
    return Check(kInvalidFieldInCdb);
  }
  const auto source = std::span<const std::uint8_t>(memory_).subspan(offset, length);
  return Good(TransferIn(command, source, length));
}

CommandAnswer EmulatedDrive::WriteBuffer(const CommandBlock& command, std::uint32_t nowMs) {
  if ((command.cdb[kBufferModeOffset] & kBufferModeMask) != kBufferModeVendor) {
    return Check(kInvalidFieldInCdb);
  }
  const std::uint32_t offset = GetBe24(&command.cdb[kBufferOffsetOffset]);
  const std::uint32_t length = GetBe24(&command.cdb[kBufferLengthOffset]);
  if (const BufferFault* fault = TakeBufferFault(command.cdb[kBufferIdOffset], offset)) {
    return Check(fault->sense);
  }
  switch (command.cdb[kBufferIdOffset]) {
    case kBufferIdStart:
      return StartDownload(offset, length);
    case kBufferIdData:
      return StoreChunk(command, offset, length);
    case kBufferIdFinish:
      return FinishDownload(offset, length, nowMs);
    default:
      return Check(kInvalidFieldInCdb);
  }
}

CommandAnswer EmulatedDrive::StartDownload(std::uint32_t offset, std::uint32_t length) {
  if (offset != 0 || length != 0) return Check(kInvalidFieldInCdb);
  // A new start discards whatever an earlier, unfinished download left.
  staged_.assign(kDriveMemorySize, 0xFF);
  downloadOpen_ = true;
  chunksReceived_ = 0;
  return Good();
}

CommandAnswer EmulatedDrive::StoreChunk(const CommandBlock& command, std::uint32_t offset,
                                        std::uint32_t length) {
  if (!downloadOpen_) return Check(kCommandSequenceError);
  const auto* chunk = std::find_if(std::begin(kDownloadChunks), std::end(kDownloadChunks),
                                   [&](const Chunk& c) { return c.offset == offset; });
  if (chunk == std::end(kDownloadChunks) || chunk->length != length) {
    return Check(kInvalidFieldInCdb);
  }
  if (chunksReceived_ >= std::size(kDownloadChunks) || chunk != &kDownloadChunks[chunksReceived_]) {
    downloadOpen_ = false;  // the drive gives up on a download out of order
    staged_.clear();
    return Check(kCommandSequenceError);
  }
  if (command.direction != DataDirection::kOut || command.data.size() < length) {
    return Check(kParameterListLengthError);
  }
  std::copy_n(command.data.begin(), length, staged_.begin() + offset);
  ++chunksReceived_;
  return Good(length);
}

CommandAnswer EmulatedDrive::FinishDownload(std::uint32_t offset, std::uint32_t length,
                                            std::uint32_t nowMs) {
  if (offset != 0 || length != 0) return Check(kInvalidFieldInCdb);
  if (!downloadOpen_) return Check(kCommandSequenceError);
  const bool complete = chunksReceived_ == std::size(kDownloadChunks);
  downloadOpen_ = false;
  if (!complete) {
    staged_.clear();
    return Check(kCommandSequenceError);
  }
  // The new image must be firmware for this drive: same signature, family and
  // controller in its IdentityBlock.
  const auto identity = [this](const std::vector<std::uint8_t>& bytes) {
    return std::span<const std::uint8_t>(bytes).subspan(identityOffset_, kIdentityBlockSize);
  };
  const auto staged = identity(staged_);
  const auto current = identity(memory_);
  const bool hasSignature =
      std::equal(kIdentitySignature.begin(), kIdentitySignature.end(), staged.begin());
  if (!hasSignature || !std::equal(staged.begin(), staged.end(), current.begin())) {
    staged_.clear();
    return Check(kInvalidFieldInParameterList);
  }

  RememberKeptState();
  std::array<std::uint8_t, kUnitBytesSize> unitBytes{};
  std::copy_n(memory_.begin() + kUnitBytesOffset, kUnitBytesSize, unitBytes.begin());
  memory_ = std::move(staged_);
  staged_.clear();
  std::copy(unitBytes.begin(), unitBytes.end(), memory_.begin() + kUnitBytesOffset);

  if (corruptDuringProgramming_ && corruptionsLeft_ != 0) {
    memory_[corruptOffset_] ^= 0xFF;
    if (corruptionsLeft_ > 0) --corruptionsLeft_;
  }
  TakeIdentityFromMemory();
  ++programmingCount_;
  notReady_ = true;
  readyAtMs_ = nowMs + notReadyAfterProgrammingMs_;

  CommandAnswer answer = Good();
  answer.keptChange = KeptKind::kFirmware;
  return answer;
}

const BufferFault* EmulatedDrive::TakeBufferFault(std::uint8_t bufferId, std::uint32_t offset) {
  for (BufferFault& fault : bufferFaults_) {
    if (fault.timesLeft == 0 || fault.bufferId != bufferId) continue;
    if (fault.offset && *fault.offset != offset) continue;
    if (fault.timesLeft > 0) --fault.timesLeft;
    return &fault;
  }
  return nullptr;
}

void EmulatedDrive::TakeIdentityFromMemory() {
  const auto main = std::span<const std::uint8_t>(memory_).first(kDriveMainImageSize);
  const std::optional<std::uint32_t> key = FindTemplateKey(main);
  if (!key) return;  // firmware without a template keeps reporting the old identity
  std::copy_n(main.begin() + *key + kTemplateIdentityOffset, kTemplateIdentitySize,
              inquiry_.begin() + kTemplateIdentityOffset);
}

}  // namespace emu
