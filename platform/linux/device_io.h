// The system calls the Linux services make on device nodes, behind one small
// interface so that everything above them runs in tests against a fake device.
// Every call returns 0 (or a descriptor) on success and -errno on failure.
#pragma once

#include <scsi/sg.h>

#include <string>

namespace platform {

class DeviceIo {
 public:
  virtual ~DeviceIo() = default;
  // Read-write, non-blocking where the node allows (open(2) flags as given).
  virtual int Open(const std::string& path, int flags) = 0;
  virtual int Close(int fd) = 0;
  virtual int SgIo(int fd, sg_io_hdr_t* header) = 0;
  virtual int GetReservedSize(int fd, int* bytes) = 0;
  virtual int GetScsiId(int fd, sg_scsi_id* id) = 0;
  virtual int Flock(int fd, int operation) = 0;
};

// The real calls.
class SystemDeviceIo : public DeviceIo {
 public:
  int Open(const std::string& path, int flags) override;
  int Close(int fd) override;
  int SgIo(int fd, sg_io_hdr_t* header) override;
  int GetReservedSize(int fd, int* bytes) override;
  int GetScsiId(int fd, sg_scsi_id* id) override;
  int Flock(int fd, int operation) override;
};

}  // namespace platform
