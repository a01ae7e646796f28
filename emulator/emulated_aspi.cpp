// ASPI manager of the emulated machine.
#include "emulator/emulated_aspi.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string_view>

#include "emulator/emulated_pass_through.h"
#include "platform/win_errors.h"

namespace emu {

namespace {

using platform::Byte;
using platform::Dword;

constexpr std::size_t kMaxCdbLength = 16;
constexpr std::size_t kSenseKeyByte = 2;
constexpr std::size_t kAscByte = 12;
constexpr std::size_t kAscqByte = 13;
constexpr Byte kMaxTargetsPerAdapter = 8;
// HA_Unique: alignment mask (2 bytes), flags, targets, maximum transfer length.
constexpr std::size_t kUniqueAlignment = 0;
constexpr std::size_t kUniqueMaxTargets = 3;
constexpr std::size_t kUniqueMaxTransfer = 4;

Dword SupportInfo(Byte status, Byte count) { return (Dword{status} << 8) | count; }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// Library names are case-insensitive, and ".DLL" is implied when missing.
bool IsManagerName(const char* name) {
  return name != nullptr && (SameNameIgnoringCase(name, platform::kAspiLibraryName) ||
                             SameNameIgnoringCase(name, "WNASPI32"));
}

void PutLe32(Byte* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<Byte>(value >> (8 * i));
}

// What a request came back with, written into its block at completion.
struct Completed {
  Byte status = platform::kSsComp;
  Byte haStat = 0;
  Byte targStat = 0;
  std::array<std::uint8_t, 18> sense{};
};

}  // namespace

EmulatedAspi::EmulatedAspi(AspiManagerState state, std::vector<AdapterConfig> adapters,
                           HandleAllocator& handles, EmulatedKernel& kernel, DeviceBus& bus,
                           CommandLog& log, MachineClock& clock, PendingCompletions& completions)
    : state_(state),
      adapters_(std::move(adapters)),
      module_(handles.Next()),
      kernel_(kernel),
      bus_(bus),
      log_(log),
      clock_(clock),
      completions_(completions) {}

int EmulatedAspi::AdapterCount() const {
  if (state_ != AspiManagerState::kPresent) return 0;
  return static_cast<int>(std::min<std::size_t>(adapters_.size(), 0xFF));
}

platform::Handle EmulatedAspi::LoadLibraryA(const char* name) {
  if (state_ == AspiManagerState::kMissing || !IsManagerName(name)) {
    kernel_.SetLastError(platform::kErrorModNotFound);
    return platform::kNullHandle;
  }
  return module_;
}

Dword EmulatedAspi::GetASPI32SupportInfo() {
  switch (state_) {
    case AspiManagerState::kMissing:
    case AspiManagerState::kFailsInit:
      return SupportInfo(platform::kSsFailedInit, 0);
    case AspiManagerState::kNoAdapters:
      return SupportInfo(platform::kSsNoAdapters, 0);
    case AspiManagerState::kPresent:
      break;
  }
  const int count = AdapterCount();
  if (count == 0) return SupportInfo(platform::kSsNoAdapters, 0);
  return SupportInfo(platform::kSsComp, static_cast<Byte>(count));
}

Dword EmulatedAspi::SendASPI32Command(void* srb) {
  if (srb == nullptr) return platform::kSsInvalidSrb;
  if (state_ == AspiManagerState::kMissing || state_ == AspiManagerState::kFailsInit) {
    return platform::kSsFailedInit;
  }
  // Every request block starts with SRB_Cmd and SRB_Status.
  auto* header = static_cast<Byte*>(srb);
  switch (header[0]) {
    case platform::kScHaInquiry:
      return HaInquiry(*static_cast<platform::SrbHaInquiry*>(srb));
    case platform::kScExecScsiCmd:
      return ExecScsiCmd(*static_cast<platform::SrbExecScsiCmd*>(srb));
    case platform::kScAbortSrb:
      return AbortSrb(*static_cast<platform::SrbAbort*>(srb));
    default:
      header[1] = platform::kSsInvalidCmd;
      return platform::kSsInvalidCmd;
  }
}

Dword EmulatedAspi::HaInquiry(platform::SrbHaInquiry& srb) {
  const int count = AdapterCount();
  // Adapter 0 always answers, so that a program can learn the count.
  if (srb.SRB_HaId >= count && srb.SRB_HaId != 0) {
    srb.SRB_Status = platform::kSsInvalidHa;
    return platform::kSsInvalidHa;
  }
  srb.HA_Count = static_cast<Byte>(count);
  std::memset(srb.HA_ManagerId, 0, sizeof(srb.HA_ManagerId));
  std::memcpy(srb.HA_ManagerId, kAspiManagerId,
              std::min(sizeof(srb.HA_ManagerId), std::strlen(kAspiManagerId)));
  std::memset(srb.HA_Identifier, 0, sizeof(srb.HA_Identifier));
  std::memset(srb.HA_Unique, 0, sizeof(srb.HA_Unique));
  srb.HA_SCSI_ID = 7;
  if (srb.SRB_HaId < count) {
    const AdapterConfig& adapter = adapters_[srb.SRB_HaId];
    srb.HA_SCSI_ID = adapter.scsiId;
    // Exactly 16 bytes, no terminator when the name is that long or longer.
    std::memcpy(srb.HA_Identifier, adapter.identifier.data(),
                std::min(sizeof(srb.HA_Identifier), adapter.identifier.size()));
    srb.HA_Unique[kUniqueAlignment] = 0x01;
    srb.HA_Unique[kUniqueMaxTargets] = kMaxTargetsPerAdapter;
    PutLe32(srb.HA_Unique + kUniqueMaxTransfer, kMaximumTransferLength);
  }
  srb.SRB_Status = platform::kSsComp;
  return platform::kSsComp;
}

Byte EmulatedAspi::CheckRequest(const platform::SrbExecScsiCmd& srb) const {
  if (srb.SRB_HaId >= AdapterCount()) return platform::kSsInvalidHa;
  const bool in = (srb.SRB_Flags & platform::kSrbDirIn) != 0;
  const bool out = (srb.SRB_Flags & platform::kSrbDirOut) != 0;
  const bool notify = (srb.SRB_Flags & platform::kSrbEventNotify) != 0;
  // Without a direction bit the manager would have to guess the direction of
  // any data; we refuse that rather than move data the wrong way.
  if (srb.SRB_CDBLen == 0 || srb.SRB_CDBLen > kMaxCdbLength || (in && out) ||
      (srb.SRB_BufLen > 0 && (!(in || out) || srb.SRB_BufPointer == nullptr)) ||
      (notify && srb.SRB_PostProc == nullptr)) {
    return platform::kSsInvalidSrb;
  }
  if (srb.SRB_BufLen > kMaximumTransferLength) return kSsBufferTooBig;
  if (srb.SRB_Lun != 0) return platform::kSsNoDevice;
  return platform::kSsPending;
}

Dword EmulatedAspi::ExecScsiCmd(platform::SrbExecScsiCmd& srb) {
  // A block sent again has been given up in its earlier use; then deliver what is due.
  completions_.ForgetRequest(&srb);
  completions_.RunDue(clock_.Now());

  LoggedCommand entry;
  entry.path = CommandPath::kAspi;
  entry.adapter = srb.SRB_HaId;
  entry.target = srb.SRB_Target;
  entry.lun = srb.SRB_Lun;
  std::copy_n(srb.CDBByte, kMaxCdbLength, entry.cdb.begin());
  entry.cdbLength = srb.SRB_CDBLen;
  entry.transferLength = srb.SRB_BufLen;
  entry.srbFlags = srb.SRB_Flags;
  entry.srbSenseLen = srb.SRB_SenseLen;
  entry.dataBufferIsNull = srb.SRB_BufPointer == nullptr;

  Byte rejected = CheckRequest(srb);
  DeviceSlot* slot = nullptr;
  if (rejected == platform::kSsPending) {
    slot = bus_.At(srb.SRB_HaId, srb.SRB_Target);
    if (slot == nullptr || !slot->config.answers) rejected = platform::kSsNoDevice;
  }
  if (rejected != platform::kSsPending) {
    entry.srbStatus = rejected;
    log_.Add(std::move(entry));
    srb.SRB_Status = rejected;
    return rejected;
  }

  CommandBlock command;
  std::copy_n(srb.CDBByte, srb.SRB_CDBLen, command.cdb.begin());
  command.cdbLength = srb.SRB_CDBLen;
  if (srb.SRB_BufLen > 0) {
    command.direction =
        (srb.SRB_Flags & platform::kSrbDirIn) ? DataDirection::kIn : DataDirection::kOut;
    command.data = {srb.SRB_BufPointer, srb.SRB_BufLen};
  }
  if (command.direction == DataDirection::kOut) {
    entry.dataOut.assign(command.data.begin(), command.data.end());
  }
  entry.srbStatus = platform::kSsPending;
  const std::size_t logId = log_.Add(std::move(entry));
  const bool notify = (srb.SRB_Flags & platform::kSrbEventNotify) != 0;
  const auto event =
      notify ? reinterpret_cast<platform::Handle>(srb.SRB_PostProc) : platform::kNullHandle;
  if (notify) kernel_.LinkEventToLogEntry(event, logId);
  srb.SRB_Status = platform::kSsPending;
  srb.SRB_HaStat = 0;
  srb.SRB_TargStat = 0;

  const ExchangeResult result = bus_.Exchange(*slot, command);
  Completed completed;
  if (result.transportFailure) {
    completed.status = platform::kSsErr;
    completed.haStat = kHaStatSelectionTimeout;
  } else if (result.answer.scsiStatus != kStatusGood) {
    completed.status = platform::kSsErr;
    completed.targStat = result.answer.scsiStatus;
    completed.sense = result.answer.sense;
  }

  platform::SrbExecScsiCmd* block = &srb;
  auto complete = [this, block, event, logId, completed](bool aborted) {
    const Byte status = aborted ? platform::kSsAborted : completed.status;
    if (!aborted) {
      block->SRB_HaStat = completed.haStat;
      block->SRB_TargStat = completed.targStat;
      if (completed.targStat != kStatusGood && block->SRB_SenseLen > 0) {
        // The block's sense area is 16 bytes; a longer request gets what fits.
        const std::size_t count = std::min<std::size_t>(
            {block->SRB_SenseLen, sizeof(block->SenseArea), completed.sense.size()});
        std::memcpy(block->SenseArea, completed.sense.data(), count);
      }
    }
    block->SRB_Status = status;
    if (LoggedCommand* logged = log_.Find(logId)) {
      logged->srbStatus = status;
      logged->srbHaStat = aborted ? 0 : completed.haStat;
      logged->scsiStatus = aborted ? 0 : completed.targStat;
      logged->transportFailed = !aborted && completed.haStat != 0;
      if (!aborted && completed.targStat != kStatusGood) {
        logged->senseTriple = {completed.sense[kSenseKeyByte], completed.sense[kAscByte],
                               completed.sense[kAscqByte]};
      }
    }
    if (event != platform::kNullHandle) kernel_.SetEvent(event);
  };
  if (result.delayMs == 0) {
    complete(false);
  } else {
    completions_.Add(block, event, clock_.Now() + result.delayMs, std::move(complete));
  }
  return platform::kSsPending;
}

Dword EmulatedAspi::AbortSrb(platform::SrbAbort& srb) {
  if (srb.SRB_HaId >= AdapterCount()) {
    srb.SRB_Status = platform::kSsInvalidHa;
    return platform::kSsInvalidHa;
  }
  const Byte status =
      completions_.Abort(srb.SRB_ToAbort) ? platform::kSsComp : platform::kSsAbortFail;
  srb.SRB_Status = status;
  return status;
}

}  // namespace emu
