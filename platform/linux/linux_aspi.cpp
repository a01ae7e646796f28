// LinuxAspiManager.
#include "platform/linux/linux_aspi.h"

#include <fcntl.h>
#include <strings.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/linux/aspi_exchange.h"
#include "platform/linux/errno_mapping.h"
#include "platform/linux/mode_translation.h"
#include "platform/win_errors.h"

namespace platform {

namespace {

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
  return IsLibataDriver(driverName) ? kAtapiHostIdentifier : driverName;
}

// One request on its way to the drive.
struct LinuxAspiManager::Request {
  SrbExecScsiCmd* srb = nullptr;
  AspiExchange exchange;
  std::vector<Byte> data;  // the request's own data buffer
  int fd = -1;
  std::string node;
  bool atapi = false;    // behind an ATAPI host: 6-byte MODE commands go as 10-byte
  bool aborted = false;  // the block is the caller's again
  bool done = false;
  std::thread worker;
};

LinuxAspiManager::LinuxAspiManager(Kernel& kernel, DeviceIo& io, SysfsLayout layout,
                                   DiagnosticSink diagnostics)
    : kernel_(kernel), io_(io), layout_(std::move(layout)), report_(std::move(diagnostics)) {}

LinuxAspiManager::~LinuxAspiManager() {
  std::list<std::shared_ptr<Request>> requests;
  {
    std::lock_guard lock(mutex_);
    for (auto& request : requests_) request->aborted = true;
    requests.swap(requests_);
  }
  for (auto& request : requests) {
    if (request->worker.joinable()) request->worker.join();
  }
}

Handle LinuxAspiManager::LoadLibraryA(const char* name) {
  if (!IsLibraryName(name)) {
    kernel_.SetLastError(kErrorModNotFound);
    return kNullHandle;
  }
  if (!ScsiGenericDriverPresent(layout_)) {
    report_.Once(std::string("the SCSI generic driver (sg) is not loaded, so no drive can be "
                             "reached; ") +
                 kSgModuleFixText);
    kernel_.SetLastError(kErrorModNotFound);
    return kNullHandle;
  }
  return kAspiModuleHandle;
}

int LinuxAspiManager::OpenNode(const ScsiGenericNode& node, std::string* opened) {
  const std::string path = layout_.devRoot + "/" + node.name;
  const int fd = io_.Open(path, kNodeOpenFlags);
  if (fd >= 0) {
    *opened = path;
    return fd;
  }
  const bool denied = fd == -EACCES || fd == -EPERM;
  const auto block = denied ? BlockDeviceOfGeneric(layout_, node.name) : std::nullopt;
  if (block && blockNodeFallback_) {
    const int blockFd = io_.Open(*block, kNodeOpenFlags);
    if (blockFd >= 0) {
      report_.Once(NodeOpenFailureText(path, -fd) + "; using " + *block + " instead");
      *opened = *block;
      return blockFd;
    }
  }
  std::string text = NodeOpenFailureText(path, -fd);
  if (block) {
    text += " (firmware commands need the SCSI generic node; " + *block + " does not carry them)";
  }
  report_.Once(text);
  return fd;
}

void LinuxAspiManager::Scan() {
  nodes_ = ListScsiGenericNodes(layout_);
  adapters_.clear();
  for (const auto& node : nodes_) {
    // Nodes are ordered by address, so hosts come in ascending order.
    if (adapters_.empty() || adapters_.back().host != node.address.host) {
      const std::string identifier = HostIdentifierOf(HostDriverName(layout_, node.address.host));
      adapters_.push_back({node.address.host, identifier, identifier == kAtapiHostIdentifier});
    }
  }
  scanned_ = true;
}

Dword LinuxAspiManager::GetASPI32SupportInfo() {
  Scan();
  if (adapters_.empty()) return static_cast<Dword>(kSsNoAdapters) << kSupportStatusShift;
  int firstError = 0;
  for (const auto& node : nodes_) {
    std::string opened;
    const int fd = OpenNode(node, &opened);
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
      return Abort(static_cast<SrbAbort*>(srb));
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

std::vector<std::string> LinuxAspiManager::NodesOfTarget(Byte adapter, Byte target) {
  if (!scanned_) Scan();
  if (adapter >= adapters_.size()) return {};
  const ScsiGenericNode* node = NodeAt(adapters_[adapter].host, target, 0);
  if (node == nullptr) return {};
  std::vector<std::string> nodes;
  if (auto block = BlockDeviceOfGeneric(layout_, node->name)) nodes.push_back(std::move(*block));
  nodes.push_back(layout_.devRoot + "/" + node->name);
  return nodes;
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
  JoinFinished();
  auto request = std::make_shared<Request>();
  const Byte refused = [&]() -> Byte {
    if (srb->SRB_HaId >= adapters_.size()) return kSsInvalidHa;
    const Adapter& adapter = adapters_[srb->SRB_HaId];
    request->atapi = adapter.atapi;
    const ScsiGenericNode* node = NodeAt(adapter.host, srb->SRB_Target, srb->SRB_Lun);
    if (node == nullptr) return kSsNoDevice;
    const Byte prepared = PrepareAspiExchange(*srb, &request->exchange);
    if (prepared != kSsComp) return prepared;
    request->fd = OpenNode(*node, &request->node);
    if (request->fd < 0) {
      kernel_.SetLastError(Win32ErrorFromErrno(-request->fd, ErrnoContext::kOpen));
      return kSsNoDevice;
    }
    return kSsPending;
  }();
  if (refused != kSsPending) {
    srb->SRB_Status = refused;
    if ((srb->SRB_Flags & kSrbEventNotify) != 0 && srb->SRB_PostProc != nullptr) {
      kernel_.SetEvent(reinterpret_cast<Handle>(srb->SRB_PostProc));
    }
    return refused;
  }

  // The data travels in the request's own buffer, copied in for data-out.
  sg_io_hdr_t& header = request->exchange.header;
  request->data.assign(srb->SRB_BufLen, 0);
  if (srb->SRB_BufLen != 0) {
    if (header.dxfer_direction != SG_DXFER_FROM_DEV) {
      std::memcpy(request->data.data(), srb->SRB_BufPointer, srb->SRB_BufLen);
    }
    header.dxferp = request->data.data();
  }
  request->srb = srb;
  srb->SRB_Status = kSsPending;
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
  request->worker = std::thread([this, request] { Run(*request); });
  return kSsPending;
}

void LinuxAspiManager::Run(Request& request) {
  sg_io_hdr_t& header = request.exchange.header;
  const auto send = [&](sg_io_hdr_t* sent) {
    return pendingSense_.Exchange(io_, request.fd, request.node, sent);
  };
  const int rc = request.atapi ? SendModeAsTenByte(&header, send) : send(&header);
  io_.Close(request.fd);
  report_.CommandRefused(request.node, header.cmdp, rc);
  std::lock_guard lock(mutex_);
  request.done = true;
  if (request.aborted) return;
  SrbExecScsiCmd* srb = request.srb;
  if (rc < 0) {
    // The kernel refused the request itself: the adapter could not carry it.
    srb->SRB_HaStat = kHaStatPhaseError;
    srb->SRB_TargStat = 0;
    srb->SRB_Status = kSsErr;
  } else {
    if (header.dxfer_direction != SG_DXFER_TO_DEV && srb->SRB_BufLen != 0) {
      const std::size_t resid = header.resid > 0 ? static_cast<std::size_t>(header.resid) : 0;
      const std::size_t received = srb->SRB_BufLen - std::min<std::size_t>(resid, srb->SRB_BufLen);
      std::memcpy(srb->SRB_BufPointer, request.data.data(), received);
    }
    CompleteAspiExchange(request.exchange, srb);
  }
  if ((srb->SRB_Flags & kSrbEventNotify) != 0 && srb->SRB_PostProc != nullptr) {
    kernel_.SetEvent(reinterpret_cast<Handle>(srb->SRB_PostProc));
  }
}

// A request still with the drive is given up: its block is final (aborted) at
// once and whatever the drive answers later is dropped.
Byte LinuxAspiManager::Abort(SrbAbort* abort) {
  std::lock_guard lock(mutex_);
  for (auto& request : requests_) {
    if (request->srb != abort->SRB_ToAbort || request->done || request->aborted) continue;
    request->aborted = true;
    SrbExecScsiCmd* srb = request->srb;
    srb->SRB_Status = kSsAborted;
    if ((srb->SRB_Flags & kSrbEventNotify) != 0 && srb->SRB_PostProc != nullptr) {
      kernel_.SetEvent(reinterpret_cast<Handle>(srb->SRB_PostProc));
    }
    abort->SRB_Status = kSsComp;
    return kSsComp;
  }
  abort->SRB_Status = kSsAbortFail;
  return kSsAbortFail;
}

void LinuxAspiManager::JoinFinished() {
  std::list<std::shared_ptr<Request>> finished;
  {
    std::lock_guard lock(mutex_);
    for (auto it = requests_.begin(); it != requests_.end();) {
      if ((*it)->done) {
        finished.push_back(std::move(*it));
        it = requests_.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& request : finished) request->worker.join();
}

}  // namespace platform
