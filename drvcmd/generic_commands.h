// INQUIRY, REQUEST SENSE and TEST UNIT READY with each program's transport
// settings, and the two reports of a failure: sense and system error.
#pragma once

#include "drvcmd/transport.h"
#include "platform/kernel.h"

namespace drvcmd {

inline constexpr std::uint8_t kOpTestUnitReady = 0x00;
inline constexpr std::uint8_t kOpRequestSense = 0x03;
inline constexpr std::uint8_t kOpInquiry = 0x12;
inline constexpr std::uint32_t kInquiryLength = 96;

// The generic commands as requests with this program's transport settings.
ScsiRequest InquiryRequest(Transport& transport, const DriveAddress& address);
ScsiRequest RequestSenseRequest(Transport& transport, const DriveAddress& address);
ScsiRequest TestUnitReadyRequest(Transport& transport, const DriveAddress& address);

// Pass-through: the open drive (address ignored); ASPI: adapter and target.
// On 0 the 96 INQUIRY bytes are at the start of the data buffer.
int SendInquiry(Transport& transport, const DriveAddress& address);
// On 0 the sense data is in the transport's RequestSenseArea.
int SendRequestSense(Transport& transport, const DriveAddress& address);
int SendTestUnitReady(Transport& transport, const DriveAddress& address);

// After a failed firmware command: REQUEST SENSE, then "Sense Code : %02x-%02x-%02x"
// or "Request Sense Comand Failed." in an OK message box.
void ReportSense(Transport& transport, const DriveAddress& address);

// The system's text for a Win32 error code, or "Format message failed.  Error: %d\n".
void ShowSystemError(platform::Kernel& kernel, Notice& notice, platform::Dword code);

}  // namespace drvcmd
