// LinuxAspiManager.
#include "platform/linux/linux_aspi.h"

#include <fcntl.h>
#include <strings.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/linux/aspi_exchange.h"
#include "platform/linux/errno_mapping.h"
#include "platform/win_errors.h"

namespace platform {

namespace {

constexpr std::array<const char*, 3> kLibataDrivers = {"ahci", "ata_piix", "ata_generic"};
constexpr std::array<const char*, 2> kLibataDriverPrefixes = {"pata_", "sata_"};
constexpr int kSupportStatusShift = 8;
constexpr int kNodeOpenFlags = O_RDWR | O_NONBLOCK;

// Copies text into a fixed field, zero-padded, cut at the field's size.
template <std::size_t N>
void PutText(Byte (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(N, text.size()));
}

bool IsLibraryName(const char* name) {
  if (name == nullptr) return false;
  // Windows finds a library by name whatever its case, with or without ".DLL".
  constexpr std::size_t kStemLength = sizeof kAspiLibraryName - 1 - 4;
  return strcasecmp(name, kAspiLibraryName) == 0 ||
         (std::strlen(name) == kStemLength &&
          strncasecmp(name, kAspiLibraryName, kStemLength) == 0);
}

}  // namespace

std::string HostIdentifierOf(const std::string& driverName) {
  for (const char* driver : kLibataDrivers) {
    if (driverName == driver) return kAtapiHostIdentifier;
  }
  for (const char* prefix : kLibataDriverPrefixes) {
    if (driverName.starts_with(prefix)) return kAtapiHostIdentifier;
  }
  return driverName;
}

LinuxAspiManager::LinuxAspiManager(Kernel& kernel, DeviceIo& io, SysfsLayout layout)
    : kernel_(kernel), io_(io), layout_(std::move(layout)) {}

Handle LinuxAspiManager::LoadLibraryA(const char* name) {
  if (!IsLibraryName(name) || !ScsiGenericDriverPresent(layout_)) {
    kernel_.SetLastError(kErrorModNotFound);
    return kNullHandle;
  }
  return kAspiModuleHandle;
}

void LinuxAspiManager::Scan() {
  nodes_ = ListScsiGenericNodes(layout_);
  adapters_.clear();
  for (const auto& node : nodes_) {
    // Nodes are ordered by address, so hosts come in ascending order.
    if (adapters_.empty() || adapters_.back().host != node.address.host) {
      adapters_.push_back(
          {node.address.host, HostIdentifierOf(HostDriverName(layout_, node.address.host))});
    }
  }
  scanned_ = true;
}

Dword LinuxAspiManager::GetASPI32SupportInfo() {
  Scan();
  if (adapters_.empty()) return static_cast<Dword>(kSsNoAdapters) << kSupportStatusShift;
  int firstError = 0;
  for (const auto& node : nodes_) {
    const int fd = io_.Open(layout_.devRoot + "/" + node.name, kNodeOpenFlags);
    if (fd >= 0) {
      io_.Close(fd);
      const auto count = static_cast<Dword>(std::min<std::size_t>(adapters_.size(), 0xFF));
      return (static_cast<Dword>(kSsComp) << kSupportStatusShift) | count;
    }
    if (firstError == 0) firstError = -fd;
  }
  kernel_.SetLastError(Win32ErrorFromErrno(firstError, ErrnoContext::kOpen));
  return static_cast<Dword>(kSsFailedInit) << kSupportStatusShift;
}

Dword LinuxAspiManager::SendASPI32Command(void* srb) {
  if (srb == nullptr) return kSsInvalidSrb;
  if (!scanned_) Scan();
  auto* header = static_cast<Byte*>(srb);  // SRB_Cmd, SRB_Status lead every block
  switch (header[0]) {
    case kScHaInquiry:
      return HaInquiry(static_cast<SrbHaInquiry*>(srb));
    case kScExecScsiCmd:
      return ExecScsiCommand(static_cast<SrbExecScsiCmd*>(srb));
    case kScAbortSrb:
      // Every request has completed by the time the caller can name it.
      static_cast<SrbAbort*>(srb)->SRB_Status = kSsAbortFail;
      return kSsAbortFail;
    default:
      header[1] = kSsInvalidCmd;
      return kSsInvalidCmd;
  }
}

Byte LinuxAspiManager::HaInquiry(SrbHaInquiry* srb) {
  srb->HA_Count = static_cast<Byte>(std::min<std::size_t>(adapters_.size(), 0xFF));
  if (srb->SRB_HaId >= adapters_.size()) {
    srb->SRB_Status = kSsInvalidHa;
    return kSsInvalidHa;
  }
  const Adapter& adapter = adapters_[srb->SRB_HaId];
  srb->HA_SCSI_ID = kHostAdapterScsiId;
  PutText(srb->HA_ManagerId, kAspiManagerId);
  PutText(srb->HA_Identifier, adapter.identifier);
  std::memset(srb->HA_Unique, 0, sizeof srb->HA_Unique);
  srb->HA_Unique[kHaUniqueMaxTargets] = kMaxTargetsPerAdapter;
  const Dword maxTransfer = kAspiMaxTransferLength;  // little-endian, as on the PC
  std::memcpy(srb->HA_Unique + kHaUniqueMaxTransfer, &maxTransfer, sizeof maxTransfer);
  srb->SRB_Status = kSsComp;
  return kSsComp;
}

const ScsiGenericNode* LinuxAspiManager::NodeAt(int host, int target, int lun) const {
  // ASPI has no channel: the lowest channel with that target answers.
  for (const auto& node : nodes_) {
    if (node.address.host == host && node.address.target == target && node.address.lun == lun) {
      return &node;
    }
  }
  return nullptr;
}

Byte LinuxAspiManager::ExecScsiCommand(SrbExecScsiCmd* srb) {
  const Byte status = [&]() -> Byte {
    if (srb->SRB_HaId >= adapters_.size()) return kSsInvalidHa;
    const ScsiGenericNode* node =
        NodeAt(adapters_[srb->SRB_HaId].host, srb->SRB_Target, srb->SRB_Lun);
    if (node == nullptr) return kSsNoDevice;
    AspiExchange exchange;
    const Byte prepared = PrepareAspiExchange(*srb, &exchange);
    if (prepared != kSsComp) return prepared;
    const int fd = io_.Open(layout_.devRoot + "/" + node->name, kNodeOpenFlags);
    if (fd < 0) {
      kernel_.SetLastError(Win32ErrorFromErrno(-fd, ErrnoContext::kOpen));
      return kSsNoDevice;
    }
    const int rc = io_.SgIo(fd, &exchange.header);
    io_.Close(fd);
    if (rc < 0) {
      kernel_.SetLastError(Win32ErrorFromErrno(-rc, ErrnoContext::kIoctl));
      return kSsErr;
    }
    return CompleteAspiExchange(exchange, srb);
  }();
  srb->SRB_Status = status;
  if ((srb->SRB_Flags & kSrbEventNotify) != 0 && srb->SRB_PostProc != nullptr) {
    kernel_.SetEvent(reinterpret_cast<Handle>(srb->SRB_PostProc));
  }
  return status;
}

}  // namespace platform
