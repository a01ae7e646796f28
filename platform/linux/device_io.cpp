// The real open/ioctl/flock calls on device nodes.
#include "platform/linux/device_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

int Result(int rc) { return rc < 0 ? -errno : rc; }

}  // namespace

int SystemDeviceIo::Open(const std::string& path, int flags) {
  int rc;
  do {
    rc = ::open(path.c_str(), flags | O_CLOEXEC);
  } while (rc < 0 && errno == EINTR);
  return Result(rc);
}

int SystemDeviceIo::Close(int fd) { return Result(::close(fd)); }

int SystemDeviceIo::SgIo(int fd, sg_io_hdr_t* header) { return Result(::ioctl(fd, SG_IO, header)); }

int SystemDeviceIo::GetReservedSize(int fd, int* bytes) {
  return Result(::ioctl(fd, SG_GET_RESERVED_SIZE, bytes));
}

int SystemDeviceIo::GetScsiId(int fd, sg_scsi_id* id) {
  return Result(::ioctl(fd, SG_GET_SCSI_ID, id));
}

int SystemDeviceIo::Flock(int fd, int operation) { return Result(::flock(fd, operation)); }

}  // namespace platform
