// Classification of an SG_IO completion's host and driver status.
#pragma once

#include <scsi/sg.h>

#include "platform/win_types.h"

namespace platform {

// Host adapter status values (DID_*) the classification names.
inline constexpr unsigned kHostOk = 0x00;
inline constexpr unsigned kHostNoConnect = 0x01;
inline constexpr unsigned kHostBusBusy = 0x02;
inline constexpr unsigned kHostTimeOut = 0x03;
inline constexpr unsigned kHostBadTarget = 0x04;
inline constexpr unsigned kHostAbort = 0x05;
inline constexpr unsigned kHostParity = 0x06;
inline constexpr unsigned kHostReset = 0x08;
// Driver status (DRIVER_*): the low nibble; DRIVER_SENSE only says sense came back.
inline constexpr unsigned kDriverStatusMask = 0x0F;
inline constexpr unsigned kDriverOk = 0x00;
inline constexpr unsigned kDriverTimeout = 0x06;
inline constexpr unsigned kDriverSense = 0x08;

// 0 when the exchange reached the device (whatever its SCSI status), otherwise the
// Win32 code of the transport failure: time-out, no device, or another error.
Dword TransportErrorOf(const sg_io_hdr_t& header);

}  // namespace platform
