// ASPI back-end: buffers, the manager and its adapters, and ExecuteRequest
// through the one request block with completion by event.
#include "drvcmd/aspi/aspi_transport.h"

#include <algorithm>
#include <cstring>

#include "drvcmd/generic_commands.h"
#include "drvcmd/global_buffer.h"

namespace drvcmd {

namespace {

enum MemoryIndex { kDataMemory, kRequestBlockMemory, kImageMemory, kSmallMemory };

constexpr platform::Dword kSupportStatusShift = 8;
constexpr platform::Dword kSupportByteMask = 0xFF;

platform::Byte DirectionFlag(DataDirection direction) {
  switch (direction) {
    case DataDirection::kIn:
      return platform::kSrbDirIn;
    case DataDirection::kOut:
      return platform::kSrbDirOut;
    case DataDirection::kNone:
      break;
  }
  return 0;
}

bool IsStandardCdbLength(std::uint8_t length) {
  return length == 6 || length == 10 || length == 12;
}

}  // namespace

AspiTransport::~AspiTransport() { StopTransport(); }

platform::SrbExecScsiCmd* AspiTransport::RequestBlock() {
  if (requestBlockBuffer_.size() < requestBlockOffset_ + sizeof(platform::SrbExecScsiCmd)) {
    return nullptr;
  }
  return reinterpret_cast<platform::SrbExecScsiCmd*>(requestBlockBuffer_.data() +
                                                     requestBlockOffset_);
}

int AspiTransport::StartTransport() {
  StopTransport();  // a second start must not leak the first buffers
  platform::Kernel& kernel = system_.Kernel32();
  if (!AllocateLockedBuffer(kernel, kDataBufferSize, memory_[kDataMemory], dataBuffer_) ||
      !AllocateLockedBuffer(kernel, kRequestBlockBufferSize, memory_[kRequestBlockMemory],
                            requestBlockBuffer_) ||
      !AllocateLockedBuffer(kernel, kImageBufferSize, memory_[kImageMemory], imageBuffer_) ||
      !AllocateLockedBuffer(kernel, kSmallBufferSize, memory_[kSmallMemory], smallBuffer_)) {
    return kStartMemoryError;
  }

  platform::AspiManager& manager = system_.Aspi();
  module_ = manager.LoadLibraryA(platform::kAspiLibraryName);
  if (module_ == platform::kNullHandle) return kStartAspiLoadError;

  const platform::Dword support = manager.GetASPI32SupportInfo();
  const auto status =
      static_cast<platform::Byte>((support >> kSupportStatusShift) & kSupportByteMask);
  const auto count = static_cast<std::uint8_t>(support & kSupportByteMask);
  if (status == platform::kSsFailedInit) return kStartAspiInitError;
  if (count == 0) return kStartNoAdapters;

  adapters_.assign(count, platform::SrbHaInquiry{});
  adapterCount_ = count;
  for (std::uint8_t i = 0; i < count; ++i) {
    adapters_[i].SRB_Cmd = platform::kScHaInquiry;
    adapters_[i].SRB_HaId = i;
    manager.SendASPI32Command(&adapters_[i]);
  }
  if (program_ == ProgramId::kPaceAspi) {
    // The identifier slots hold 16 adapters; further adapters have none.
    const std::size_t slots = std::min<std::size_t>(count, kMaxHaIdentifierSlots);
    for (std::size_t i = 0; i < slots; ++i) {
      haIdentifiers_[i] = {};
      std::memcpy(haIdentifiers_[i].data(), adapters_[i].HA_Identifier, kHaIdentifierSize);
    }
  }
  return kStartOk;
}

int AspiTransport::StopTransport() {
  platform::Kernel& kernel = system_.Kernel32();
  FreeLockedBuffer(kernel, memory_[kSmallMemory], smallBuffer_);
  FreeLockedBuffer(kernel, memory_[kImageMemory], imageBuffer_);
  FreeLockedBuffer(kernel, memory_[kRequestBlockMemory], requestBlockBuffer_);
  FreeLockedBuffer(kernel, memory_[kDataMemory], dataBuffer_);
  requestBlockOffset_ = 0;
  if (adapterCount_ != 0) {
    adapters_.clear();
    haIdentifiers_ = {};
    adapterCount_ = 0;
  }
  return 0;
}

int AspiTransport::SendRequest(ScsiRequest& request) {
  request.sense = {};
  Completion completion;
  const bool valid = RequestBlock() != nullptr && IsStandardCdbLength(request.cdbLength) &&
                     (request.transferLength == 0 || request.buffer != nullptr);
  if (valid) {
    if (request.zeroBufferFirst && request.buffer != nullptr) {
      std::memset(request.buffer, 0, request.transferLength);
    }
    completion = SendAndWait(request);
  }

  const int outcome = completion.status == platform::kSsComp ? kOutcomeGood : kOutcomeFailure;
  request.scsiStatus = completion.targetStatus;
  lastScsiStatus_ = completion.targetStatus;
  if (outcome != kOutcomeGood) {
    if (request.senseLength > 0 && valid) {
      lastSense_ = {};
      std::memcpy(lastSense_.data(), RequestBlock()->SenseArea,
                  std::min<std::size_t>(request.senseLength, platform::kAspiSenseLen));
    }
    // The speed utility prints the failed command's sense but asks for none
    // with its requests: it fetches it right after a check condition.
    if (program_ == ProgramId::kPaceAspi) {
      lastSense_ = {};
      if (completion.status == platform::kSsErr) RequestSenseOfFailure();
    }
    request.sense = lastSense_;
  }
  request.outcome = outcome;
  lastOutcome_ = outcome;
  return outcome;
}

AspiTransport::Completion AspiTransport::SendAndWait(const ScsiRequest& request) {
  platform::Kernel& kernel = system_.Kernel32();
  Completion completion;
  if (RequestBlock() == nullptr) return completion;
  const platform::Handle event = kernel.CreateEventA(platform::kFalse, platform::kFalse);
  if (event == platform::kNullHandle) {
    completion.status = platform::kSsErr;  // without an event the request cannot be waited for
    return completion;
  }
  platform::SrbExecScsiCmd* block = RequestBlock();
  FillRequestBlock(request, event, *block);
  const auto sent = static_cast<platform::Byte>(system_.Aspi().SendASPI32Command(block));
  if (sent != platform::kSsPending) {
    // Completed or rejected at once: a rejected request may never signal.
    completion.status = sent;
    completion.targetStatus = block->SRB_TargStat;
  } else if (kernel.WaitForSingleObject(event, request.waitMilliseconds) ==
             platform::kWaitObject0) {
    completion.status = block->SRB_Status;
    completion.targetStatus = block->SRB_TargStat;
  } else {
    // The wait ran out: the request counts as not completed.
    completion.status = platform::kSsPending;
    ReclaimRequestBlock(event, request.waitMilliseconds);
  }
  kernel.CloseHandle(event);
  return completion;
}

void AspiTransport::FillRequestBlock(const ScsiRequest& request, platform::Handle event,
                                     platform::SrbExecScsiCmd& srb) {
  platform::SrbExecScsiCmd* block = &srb;
  std::memset(block, 0, sizeof(*block));
  block->SRB_Cmd = platform::kScExecScsiCmd;
  block->SRB_HaId = request.address.adapter;
  block->SRB_Flags = platform::kSrbEventNotify | DirectionFlag(request.direction);
  block->SRB_Target = request.address.target;
  block->SRB_Lun = 0;
  block->SRB_BufLen = request.transferLength;
  block->SRB_BufPointer = request.buffer;
  block->SRB_SenseLen = static_cast<platform::Byte>(
      std::min<std::size_t>(request.senseLength, platform::kAspiSenseLen));
  block->SRB_CDBLen = request.cdbLength;
  block->SRB_PostProc = reinterpret_cast<void*>(event);
  std::memcpy(block->CDBByte, request.cdb.data(), kCdbSize);
}

// A request whose wait ran out still belongs to the manager, which would write
// its status later into the block the next command reuses. It is aborted; the
// block is given back once its status is final, which the abort normally makes
// at once, otherwise when its event (the abort's or the request's own late
// completion) is signalled. That wait is bounded by the request's own: a block
// still pending after it is left to the manager, and later commands use the
// next block of the buffer.
void AspiTransport::ReclaimRequestBlock(platform::Handle event, std::uint32_t waitMilliseconds) {
  platform::SrbExecScsiCmd* block = RequestBlock();
  if (block->SRB_Status != platform::kSsPending) return;
  platform::SrbAbort abort{};
  abort.SRB_Cmd = platform::kScAbortSrb;
  abort.SRB_HaId = block->SRB_HaId;
  abort.SRB_ToAbort = block;
  system_.Aspi().SendASPI32Command(&abort);
  if (block->SRB_Status == platform::kSsPending) {
    system_.Kernel32().WaitForSingleObject(event, waitMilliseconds);
  }
  if (block->SRB_Status == platform::kSsPending) {
    const std::size_t next = requestBlockOffset_ + sizeof(platform::SrbExecScsiCmd);
    requestBlockOffset_ =
        next + sizeof(platform::SrbExecScsiCmd) <= requestBlockBuffer_.size() ? next : 0;
  }
}

void AspiTransport::RequestSenseOfFailure() {
  ScsiRequest sense =
      RequestSenseRequest(*this, {0, RequestBlock()->SRB_HaId, RequestBlock()->SRB_Target});
  senseArea_ = {};
  if (SendAndWait(sense).status == platform::kSsComp) {
    std::memcpy(lastSense_.data(), senseArea_.data(), senseArea_.size());
  }
}

}  // namespace drvcmd
