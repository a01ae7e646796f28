// Host/driver status of an SG_IO completion -> Win32 code.
#include "platform/linux/sg_status.h"

#include "platform/win_errors.h"

namespace platform {

Dword TransportErrorOf(const sg_io_hdr_t& header) {
  switch (header.host_status) {
    case kHostOk:
      break;
    case kHostTimeOut:
      return kErrorSemTimeout;
    case kHostNoConnect:
      return kErrorDeviceNotConnected;
    case kHostBusBusy:
      return kErrorBusy;
    default:
      return kErrorIoDevice;
  }
  const unsigned driver = header.driver_status & kDriverStatusMask;
  if (driver == kDriverOk || driver == kDriverSense) return kErrorSuccess;
  if (driver == kDriverTimeout) return kErrorSemTimeout;
  return kErrorGenFailure;
}

}  // namespace platform
