// The ASPI manager on Linux: host adapters are the SCSI hosts that have SCSI
// generic nodes, targets their SCSI ids; every request runs through SG_IO.
//
// A request that can be sent runs on a thread of its own: SendASPI32Command
// returns SS_PENDING, and the request block gets its results and SRB_PostProc
// is signalled when the drive answers, so that the caller's wait (and abort)
// work as designed. Data goes through a buffer of the request's own: an
// aborted request that completes later touches neither the block nor the
// caller's buffer. Requests refused before sending complete at once.
//
// Nodes that exist but cannot be opened (permissions): when not one of them
// opens, GetASPI32SupportInfo reports SS_FAILED_INIT and the last error says
// why (ERROR_ACCESS_DENIED), rather than an empty bus; a single node that does
// not open answers its requests with SS_NO_DEVICE and the last error. Each
// such node is named on the diagnostics sink with its fix; with the block-node
// fallback an optical drive's block node serves in place of its generic node.
#pragma once

#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/aspi.h"
#include "platform/kernel.h"
#include "platform/linux/access_report.h"
#include "platform/linux/device_io.h"
#include "platform/linux/pending_sense.h"
#include "platform/linux/sysfs_tree.h"

namespace platform {

inline constexpr char kAspiManagerId[] = "ASPI for WIN32";
// The identifier that marks the ATAPI interface, which libata hosts are.
inline constexpr char kAtapiHostIdentifier[] = "ESDI_506";
inline constexpr Byte kHostAdapterScsiId = 7;
inline constexpr Handle kAspiModuleHandle = 0x10000000;

// HA_Unique: byte 3 the number of targets, bytes 4-7 the maximum transfer length.
inline constexpr std::size_t kHaUniqueMaxTargets = 3;
inline constexpr std::size_t kHaUniqueMaxTransfer = 4;
inline constexpr Byte kMaxTargetsPerAdapter = 8;
inline constexpr Dword kAspiMaxTransferLength = 0x10000;

// What an adapter calls itself in HA_Identifier: "ESDI_506" for libata drivers
// (ahci, ata_piix, ata_generic, pata_*, sata_*), otherwise the driver name.
std::string HostIdentifierOf(const std::string& driverName);

class LinuxAspiManager : public AspiManager {
 public:
  LinuxAspiManager(Kernel& kernel, DeviceIo& io, SysfsLayout layout,
                   DiagnosticSink diagnostics = {});
  // Waits for the requests still with the drive (each bounded by its kernel
  // time-out).
  ~LinuxAspiManager() override;
  LinuxAspiManager(const LinuxAspiManager&) = delete;
  LinuxAspiManager& operator=(const LinuxAspiManager&) = delete;

  Handle LoadLibraryA(const char* name) override;
  Dword GetASPI32SupportInfo() override;
  Dword SendASPI32Command(void* srb) override;

  // Whether a target whose generic node cannot be opened is reached through
  // its block node, which carries every command but the firmware ones.
  void SetBlockNodeFallback(bool allowed) { blockNodeFallback_ = allowed; }
  // The target's block node (when it has one) and generic node; empty when
  // the adapter or the target does not exist.
  std::vector<std::string> NodesOfTarget(Byte adapter, Byte target);

 private:
  struct Request;

  struct Adapter {
    int host = 0;
    std::string identifier;
    bool atapi = false;
  };

  void Scan();
  Byte HaInquiry(SrbHaInquiry* srb);
  Byte ExecScsiCommand(SrbExecScsiCmd* srb);
  Byte Abort(SrbAbort* srb);
  void Run(Request& request);
  void JoinFinished();
  const ScsiGenericNode* NodeAt(int host, int target, int lun) const;
  // The node's descriptor (or its block node's, where allowed) and the node
  // opened; -errno of the generic node when neither opens.
  int OpenNode(const ScsiGenericNode& node, std::string* opened);

  Kernel& kernel_;
  DeviceIo& io_;
  const SysfsLayout layout_;
  bool scanned_ = false;
  std::vector<ScsiGenericNode> nodes_;
  std::vector<Adapter> adapters_;
  AccessReport report_;
  PendingSense pendingSense_;
  bool blockNodeFallback_ = false;
  std::mutex mutex_;  // guards requests_ and what a completion writes into a block
  std::list<std::shared_ptr<Request>> requests_;
};

}  // namespace platform
