// The pass-through service on Linux: "\\.\X:" drives opened through their SCSI
// generic nodes, the pass-through ioctls carried by SG_IO.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel.h"
#include "platform/linux/access_report.h"
#include "platform/linux/device_io.h"
#include "platform/linux/device_path.h"
#include "platform/linux/pending_sense.h"
#include "platform/pass_through.h"

namespace platform {

// MaximumTransferLength when the node does not report its reserved size.
inline constexpr Ulong kDefaultMaximumTransferLength = 0x10000;

class LinuxPassThrough : public PassThroughService {
 public:
  // explicitMap: the DVDUTIL_DRIVES map, or nullopt to take drives from sysfs.
  // diagnostics: where the user is told why a drive cannot be opened.
  LinuxPassThrough(Kernel& kernel, DeviceIo& io, SysfsLayout layout,
                   std::optional<DriveMap> explicitMap, DiagnosticSink diagnostics = {});
  ~LinuxPassThrough() override;

  Handle CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode,
                     Dword creationDisposition, Dword flagsAndAttributes) override;
  Bool DeviceIoControl(Handle device, Dword ioControlCode, void* inBuffer, Dword inBufferSize,
                       void* outBuffer, Dword outBufferSize, Dword* bytesReturned) override;
  Bool CloseHandle(Handle device) override;
  Bool LockDevice(Handle device) override;

  // Whether a drive whose generic node cannot be opened is opened through its
  // block node, which carries every command but the firmware ones.
  void SetBlockNodeFallback(bool allowed) { blockNodeFallback_ = allowed; }
  // A command the kernel refuses for lack of privilege is also shown here.
  void SetFailureNotice(std::function<void(const std::string&)> notice) {
    report_.SetRefusalNotice(std::move(notice));
  }
  // The letter's block node and generic node, as far as they are known.
  std::vector<std::string> NodesOfLetter(char letter) const;

 private:
  struct OpenDevice {
    int fd = -1;
    int lockFd = -1;  // the lock node's descriptor while locked (may be fd)
    DeviceNodes nodes;
    bool atapi = false;  // behind an ATAPI host: 6-byte MODE commands go as 10-byte
  };

  std::optional<OpenDevice> Find(Handle device);
  // Opens the drive's command node, or its block node where that is allowed;
  // the descriptor, or -errno of the command node.
  int OpenCommandNode(char letter, const std::string& configuredPath, DeviceNodes& nodes,
                      int access);
  Bool Fail(Dword error);
  Bool GetCapabilities(const OpenDevice& device, void* outBuffer, Dword outBufferSize,
                       Dword* bytesReturned);
  Bool GetAddress(const OpenDevice& device, void* outBuffer, Dword outBufferSize,
                  Dword* bytesReturned);
  Bool PassThrough(const OpenDevice& device, Dword ioControlCode, void* inBuffer,
                   Dword inBufferSize, void* outBuffer, Dword outBufferSize, Dword* bytesReturned);

  Kernel& kernel_;
  DeviceIo& io_;
  const SysfsLayout layout_;
  const std::optional<DriveMap> explicitMap_;
  AccessReport report_;
  PendingSense pendingSense_;
  bool blockNodeFallback_ = false;
  std::mutex mutex_;  // guards devices_ and nextHandle_
  std::map<Handle, OpenDevice> devices_;
  Handle nextHandle_;
};

}  // namespace platform
