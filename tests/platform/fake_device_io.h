// A scripted stand-in for the device system calls: records every open, close,
// SG_IO and lock, and answers SG_IO through a test-supplied responder. The
// ASPI stand-in calls SG_IO and close on threads of its own: read what was
// recorded once the request has completed.
#pragma once

#include <cerrno>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/linux/device_io.h"

namespace platform::testing {

class FakeDeviceIo : public DeviceIo {
 public:
  // What one SG_IO carried (copied out of the header, which dies with the call).
  struct SgCall {
    std::string node;
    sg_io_hdr_t header;
    std::vector<unsigned char> cdb;
  };

  int Open(const std::string& path, int flags) override {
    std::lock_guard lock(mutex);
    opens.push_back({path, flags});
    if (const auto it = openErrors.find(path); it != openErrors.end()) return -it->second;
    const int fd = nextFd++;
    openFds[fd] = path;
    return fd;
  }
  int Close(int fd) override {
    std::lock_guard lock(mutex);
    closed.push_back(fd);
    return openFds.erase(fd) == 1 ? 0 : -EBADF;
  }
  int SgIo(int fd, sg_io_hdr_t* header) override {
    std::string node;
    {
      std::lock_guard lock(mutex);
      node = openFds.count(fd) ? openFds[fd] : std::string();
      calls.push_back({node, *header,
                       std::vector<unsigned char>(header->cmdp, header->cmdp + header->cmd_len)});
    }
    // Unlocked: a responder may hold the drive busy while other calls go on.
    return responder ? responder(node, header) : 0;
  }
  int GetReservedSize(int /*fd*/, int* bytes) override {
    if (reservedSize <= 0) return -ENOTTY;
    *bytes = reservedSize;
    return 0;
  }
  int GetScsiId(int /*fd*/, sg_scsi_id* id) override {
    if (!hasScsiId) return -ENOTTY;
    *id = scsiId;
    return 0;
  }
  int Flock(int fd, int operation) override {
    std::lock_guard lock(mutex);
    const std::string node = openFds.count(fd) ? openFds[fd] : std::string();
    locks.push_back(node);
    lockOperations.push_back(operation);
    return lockedElsewhere.count(node) ? -EWOULDBLOCK : 0;
  }

  std::mutex mutex;
  std::map<std::string, int> openErrors;  // path -> errno
  std::vector<std::pair<std::string, int>> opens;
  std::map<int, std::string> openFds;
  std::vector<int> closed;
  std::vector<SgCall> calls;
  std::function<int(const std::string& node, sg_io_hdr_t* header)> responder;
  int reservedSize = 0;
  bool hasScsiId = false;
  sg_scsi_id scsiId{};
  std::vector<std::string> locks;
  std::vector<int> lockOperations;
  std::set<std::string> lockedElsewhere;
  int nextFd = 100;
};

}  // namespace platform::testing
