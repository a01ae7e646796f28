// LinuxPassThrough.
#include "platform/linux/linux_pass_through.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/linux/errno_mapping.h"
#include "platform/linux/mode_translation.h"
#include "platform/linux/sg_exchange.h"
#include "platform/win_errors.h"

namespace platform {

namespace {

// Device handles live in their own range, apart from the kernel's.
constexpr Handle kFirstDeviceHandle = 0x40000000;
constexpr Handle kHandleStep = 4;

void SetReturned(Dword* bytesReturned, Dword value) {
  if (bytesReturned != nullptr) *bytesReturned = value;
}

}  // namespace

LinuxPassThrough::LinuxPassThrough(Kernel& kernel, DeviceIo& io, SysfsLayout layout,
                                   std::optional<DriveMap> explicitMap, DiagnosticSink diagnostics)
    : kernel_(kernel),
      io_(io),
      layout_(std::move(layout)),
      explicitMap_(std::move(explicitMap)),
      report_(std::move(diagnostics)),
      nextHandle_(kFirstDeviceHandle) {}

LinuxPassThrough::~LinuxPassThrough() {
  for (auto& [handle, device] : devices_) {
    if (device.lockFd >= 0 && device.lockFd != device.fd) io_.Close(device.lockFd);
    io_.Close(device.fd);
  }
}

Bool LinuxPassThrough::Fail(Dword error) {
  kernel_.SetLastError(error);
  return kFalse;
}

std::optional<LinuxPassThrough::OpenDevice> LinuxPassThrough::Find(Handle device) {
  std::lock_guard lock(mutex_);
  const auto it = devices_.find(device);
  if (it == devices_.end()) return std::nullopt;
  return it->second;
}

Handle LinuxPassThrough::CreateFileA(const char* fileName, Dword desiredAccess, Dword /*shareMode*/,
                                     Dword /*creationDisposition*/, Dword /*flagsAndAttributes*/) {
  if (fileName == nullptr) {
    kernel_.SetLastError(kErrorInvalidParameter);
    return kInvalidHandleValue;
  }
  const auto letter = DriveLetterOfDeviceName(fileName);
  const auto path = letter ? DevicePathOfLetter(layout_, explicitMap_, *letter) : std::nullopt;
  if (!path) {
    kernel_.SetLastError(kErrorFileNotFound);
    return kInvalidHandleValue;
  }
  OpenDevice device;
  device.nodes = ResolveDeviceNodes(layout_, *path);
  const int access = (desiredAccess & kGenericWrite) != 0 ? O_RDWR : O_RDONLY;
  const int fd = OpenCommandNode(*letter, *path, device.nodes, access);
  if (fd < 0) {
    kernel_.SetLastError(Win32ErrorFromErrno(-fd, ErrnoContext::kOpen));
    return kInvalidHandleValue;
  }
  device.fd = fd;
  device.atapi = device.nodes.address && HostIsAtapi(layout_, device.nodes.address->host);
  std::lock_guard lock(mutex_);
  const Handle handle = nextHandle_;
  nextHandle_ += kHandleStep;
  devices_.emplace(handle, std::move(device));
  return handle;
}

int LinuxPassThrough::OpenCommandNode(char letter, const std::string& configuredPath,
                                      DeviceNodes& nodes, int access) {
  const std::string drive = std::string(1, letter) + ":";
  const std::string& blockNode = nodes.lockNode;
  const bool generic = !blockNode.empty() && nodes.commandNode != blockNode;
  if (generic && explicitMap_ && configuredPath != nodes.commandNode) {
    report_.Once(std::string(kDrivesEnvironmentVariable) + ": " + drive + " " + configuredPath +
                 " is opened through its SCSI generic node " + nodes.commandNode);
  }
  // Told only for a drive sysfs knows: a path that does not exist is told below.
  if (!generic && !blockNodeFallback_ && nodes.address && !ScsiGenericDriverPresent(layout_) &&
      NumberAfterPrefix(std::filesystem::path(nodes.commandNode).filename().string(), "sr")) {
    report_.Once(drive + " " + nodes.commandNode +
                 " has no SCSI generic node because the sg driver is not loaded; firmware "
                 "commands need it: " +
                 kSgModuleFixText);
  }
  // Non-blocking so that an optical node opens without a disc; SG_IO still waits.
  const int fd = io_.Open(nodes.commandNode, access | O_NONBLOCK);
  if (fd >= 0) return fd;
  const bool denied = fd == -EACCES || fd == -EPERM;
  if (generic && denied) {
    if (blockNodeFallback_) {
      const int blockFd = io_.Open(blockNode, access | O_NONBLOCK);
      if (blockFd >= 0) {
        report_.Once(drive + " " + NodeOpenFailureText(nodes.commandNode, -fd) + "; using " +
                     blockNode + " instead");
        nodes.commandNode = blockNode;
        return blockFd;
      }
    } else {
      report_.Once(drive + " " + NodeOpenFailureText(nodes.commandNode, -fd) +
                   " (firmware commands need the SCSI generic node; " + blockNode +
                   " does not carry them)");
      return fd;
    }
  }
  report_.Once(drive + " " + NodeOpenFailureText(nodes.commandNode, -fd));
  return fd;
}

std::vector<std::string> LinuxPassThrough::NodesOfLetter(char letter) const {
  const auto path = DevicePathOfLetter(layout_, explicitMap_, letter);
  if (!path) return {};
  const DeviceNodes resolved = ResolveDeviceNodes(layout_, *path);
  // The block node first, as users know it; the node as configured when it is neither.
  std::vector<std::string> nodes;
  for (const std::string& node : {resolved.lockNode, resolved.commandNode, *path}) {
    if (!node.empty() && std::find(nodes.begin(), nodes.end(), node) == nodes.end()) {
      nodes.push_back(node);
    }
  }
  return nodes;
}

Bool LinuxPassThrough::CloseHandle(Handle handle) {
  OpenDevice device;
  {
    std::lock_guard lock(mutex_);
    const auto it = devices_.find(handle);
    if (it == devices_.end()) return Fail(kErrorInvalidHandle);
    device = std::move(it->second);
    devices_.erase(it);
  }
  // Closing the lock node's descriptor releases the advisory lock.
  if (device.lockFd >= 0 && device.lockFd != device.fd) io_.Close(device.lockFd);
  const int rc = io_.Close(device.fd);
  if (rc < 0) return Fail(Win32ErrorFromErrno(-rc, ErrnoContext::kIoctl));
  return kTrue;
}

Bool LinuxPassThrough::LockDevice(Handle handle) {
  std::lock_guard lock(mutex_);
  const auto it = devices_.find(handle);
  if (it == devices_.end()) {
    kernel_.SetLastError(kErrorInvalidHandle);
    return kTrue;
  }
  OpenDevice& device = it->second;
  if (device.lockFd >= 0) return kFalse;  // already held
  int lockFd = device.fd;
  if (!device.nodes.lockNode.empty()) {
    lockFd = io_.Open(device.nodes.lockNode, O_RDONLY | O_NONBLOCK);
    if (lockFd < 0) {
      kernel_.SetLastError(Win32ErrorFromErrno(-lockFd, ErrnoContext::kOpen));
      return kTrue;
    }
  }
  // Never blocks: a drive another program holds is refused, not waited for.
  const int rc = io_.Flock(lockFd, LOCK_EX | LOCK_NB);
  if (rc < 0) {
    if (lockFd != device.fd) io_.Close(lockFd);
    // Held elsewhere is a sharing violation, as the emulated machine reports it.
    kernel_.SetLastError(rc == -EWOULDBLOCK ? kErrorSharingViolation
                                            : Win32ErrorFromErrno(-rc, ErrnoContext::kIoctl));
    return kTrue;
  }
  device.lockFd = lockFd;
  return kFalse;
}

Bool LinuxPassThrough::DeviceIoControl(Handle handle, Dword ioControlCode, void* inBuffer,
                                       Dword inBufferSize, void* outBuffer, Dword outBufferSize,
                                       Dword* bytesReturned) {
  SetReturned(bytesReturned, 0);
  const auto device = Find(handle);
  if (!device) return Fail(kErrorInvalidHandle);
  switch (ioControlCode) {
    case kIoctlScsiGetCapabilities:
      return GetCapabilities(*device, outBuffer, outBufferSize, bytesReturned);
    case kIoctlScsiGetAddress:
      return GetAddress(*device, outBuffer, outBufferSize, bytesReturned);
    case kIoctlScsiPassThrough:
    case kIoctlScsiPassThroughDirect:
      return PassThrough(*device, ioControlCode, inBuffer, inBufferSize, outBuffer, outBufferSize,
                         bytesReturned);
    default:
      return Fail(kErrorInvalidFunction);
  }
}

Bool LinuxPassThrough::GetCapabilities(const OpenDevice& device, void* outBuffer,
                                       Dword outBufferSize, Dword* bytesReturned) {
  if (outBuffer == nullptr || outBufferSize < sizeof(IoScsiCapabilities)) {
    return Fail(kErrorInsufficientBuffer);
  }
  int reserved = 0;
  const bool known = io_.GetReservedSize(device.fd, &reserved) == 0 && reserved > 0;
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  IoScsiCapabilities capabilities{};
  capabilities.Length = sizeof capabilities;
  capabilities.MaximumTransferLength =
      known ? static_cast<Ulong>(reserved) : kDefaultMaximumTransferLength;
  capabilities.MaximumPhysicalPages =
      capabilities.MaximumTransferLength / static_cast<Ulong>(pageSize > 0 ? pageSize : 4096) + 1;
  std::memcpy(outBuffer, &capabilities, sizeof capabilities);
  SetReturned(bytesReturned, sizeof capabilities);
  return kTrue;
}

Bool LinuxPassThrough::GetAddress(const OpenDevice& device, void* outBuffer, Dword outBufferSize,
                                  Dword* bytesReturned) {
  if (outBuffer == nullptr || outBufferSize < sizeof(ScsiAddress)) {
    return Fail(kErrorInsufficientBuffer);
  }
  ScsiAddress address{};
  address.Length = sizeof address;
  sg_scsi_id id{};
  const int rc = io_.GetScsiId(device.fd, &id);
  if (rc == 0) {
    address.PortNumber = static_cast<Uchar>(id.host_no);
    address.PathId = static_cast<Uchar>(id.channel);
    address.TargetId = static_cast<Uchar>(id.scsi_id);
    address.Lun = static_cast<Uchar>(id.lun);
  } else if (device.nodes.address) {
    // A block node answers no SG_GET_SCSI_ID; sysfs knows its address.
    address.PortNumber = static_cast<Uchar>(device.nodes.address->host);
    address.PathId = static_cast<Uchar>(device.nodes.address->channel);
    address.TargetId = static_cast<Uchar>(device.nodes.address->target);
    address.Lun = static_cast<Uchar>(device.nodes.address->lun);
  } else {
    return Fail(Win32ErrorFromErrno(-rc, ErrnoContext::kIoctl));
  }
  std::memcpy(outBuffer, &address, sizeof address);
  SetReturned(bytesReturned, sizeof address);
  return kTrue;
}

Bool LinuxPassThrough::PassThrough(const OpenDevice& device, Dword ioControlCode, void* inBuffer,
                                   Dword inBufferSize, void* outBuffer, Dword outBufferSize,
                                   Dword* bytesReturned) {
  SgExchange exchange;
  const Dword invalid = PreparePassThrough(ioControlCode, inBuffer, inBufferSize, outBuffer,
                                           outBufferSize, &exchange);
  if (invalid != kErrorSuccess) return Fail(invalid);
  const auto send = [&](sg_io_hdr_t* sent) {
    return pendingSense_.Exchange(io_, device.fd, device.nodes.commandNode, sent);
  };
  const int rc = device.atapi ? SendModeAsTenByte(&exchange.header, send) : send(&exchange.header);
  if (rc < 0) {
    report_.CommandRefused(device.nodes.commandNode, exchange.header.cmdp, rc);
    return Fail(Win32ErrorFromErrno(-rc, ErrnoContext::kIoctl));
  }
  const Dword transportError = CompletePassThrough(exchange, bytesReturned);
  if (transportError != kErrorSuccess) return Fail(transportError);
  return kTrue;
}

}  // namespace platform
