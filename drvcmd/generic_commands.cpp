// INQUIRY, REQUEST SENSE and TEST UNIT READY with each program's settings,
// and the sense and system-error reports.
#include "drvcmd/generic_commands.h"

#include <cstdio>

namespace drvcmd {

namespace {

constexpr std::uint8_t kCdb6Length = 6;
constexpr std::size_t kAllocationLengthByte = 4;
constexpr std::uint32_t kPassThroughGenericTimeout = 2;  // seconds
constexpr std::uint32_t kSpeedUtilityReadyWait = 1000;   // ms, paceaspi TEST UNIT READY
constexpr std::uint8_t kUtilitySenseLength = 18;         // zonespti, pacespti
// REQUEST SENSE: 24 bytes into the buffered record (pass-through), 18 into the
// transport's own sense area (ASPI).
constexpr std::uint32_t kPassThroughRequestSenseLength = 24;
constexpr std::uint32_t kAspiRequestSenseTransfer = 18;

constexpr char kRequestSenseFailedText[] = "Request Sense Comand Failed.";
constexpr std::size_t kSystemTextSize = 128;

bool IsUtility(ProgramId program) {
  return program == ProgramId::kZoneSpti || program == ProgramId::kPaceSpti;
}

ScsiRequest Cdb6(std::uint8_t opcode, const DriveAddress& address) {
  ScsiRequest request;
  request.address = address;
  request.cdb[0] = opcode;
  request.cdbLength = kCdb6Length;
  return request;
}

std::uint8_t* DataStart(Transport& transport) {
  return transport.DataBuffer().empty() ? nullptr : transport.DataBuffer().data();
}

}  // namespace

ScsiRequest InquiryRequest(Transport& transport, const DriveAddress& address) {
  ScsiRequest request = Cdb6(kOpInquiry, address);
  request.cdb[kAllocationLengthByte] = static_cast<std::uint8_t>(kInquiryLength);
  request.direction = DataDirection::kIn;
  request.buffer = DataStart(transport);
  request.transferLength = kInquiryLength;
  if (!UsesAspi(transport.Program())) {
    request.timeoutSeconds = kPassThroughGenericTimeout;
    // The updater takes the short answer through the buffered record.
    request.record =
        transport.Program() == ProgramId::kFlashSpti ? RecordKind::kBuffered : RecordKind::kDirect;
    if (IsUtility(transport.Program())) request.senseLength = kUtilitySenseLength;
  }
  return request;
}

ScsiRequest RequestSenseRequest(Transport& transport, const DriveAddress& address) {
  ScsiRequest request = Cdb6(kOpRequestSense, address);
  request.direction = DataDirection::kIn;
  if (UsesAspi(transport.Program())) {
    request.cdb[kAllocationLengthByte] = kAspiRequestSenseTransfer;
    request.transferLength = kAspiRequestSenseTransfer;
    const std::span<std::uint8_t> area = transport.RequestSenseArea();
    request.buffer = area.size() >= kAspiRequestSenseTransfer ? area.data() : nullptr;
  } else {
    // The data stays in the record's data area, where ReportSense reads it.
    request.cdb[kAllocationLengthByte] = kPassThroughRequestSenseLength;
    request.transferLength = kPassThroughRequestSenseLength;
    request.record = RecordKind::kBuffered;
    request.timeoutSeconds = kPassThroughGenericTimeout;
  }
  return request;
}

ScsiRequest TestUnitReadyRequest(Transport& transport, const DriveAddress& address) {
  ScsiRequest request = Cdb6(kOpTestUnitReady, address);
  request.direction = DataDirection::kNone;
  request.passThroughDataIn = 1;  // the pass-through record knows only in and out
  request.buffer = DataStart(transport);
  if (UsesAspi(transport.Program())) {
    if (transport.Program() == ProgramId::kPaceAspi) {
      request.waitMilliseconds = kSpeedUtilityReadyWait;
    }
  } else {
    request.timeoutSeconds = kPassThroughGenericTimeout;
    if (IsUtility(transport.Program())) request.senseLength = kUtilitySenseLength;
  }
  return request;
}

int SendInquiry(Transport& transport, const DriveAddress& address) {
  ScsiRequest request = InquiryRequest(transport, address);
  return transport.ExecuteRequest(request);
}

int SendRequestSense(Transport& transport, const DriveAddress& address) {
  ScsiRequest request = RequestSenseRequest(transport, address);
  return transport.ExecuteRequest(request);
}

int SendTestUnitReady(Transport& transport, const DriveAddress& address) {
  ScsiRequest request = TestUnitReadyRequest(transport, address);
  return transport.ExecuteRequest(request);
}

void ReportSense(Transport& transport, const DriveAddress& address) {
  const std::span<std::uint8_t> area = transport.RequestSenseArea();
  if (SendRequestSense(transport, address) != kOutcomeGood || area.size() <= kSenseAscqOffset) {
    ShowMessage(transport.UserNotice(), kRequestSenseFailedText);
    return;
  }
  ShowMessage(transport.UserNotice(),
              "Sense Code : " + FormatSenseTriple(SenseTripleFrom(area.data())));
}

void ShowSystemError(platform::Kernel& kernel, Notice& notice, platform::Dword code) {
  char text[kSystemTextSize] = {};
  if (kernel.FormatMessageA(platform::kFormatMessageFromSystem, nullptr, code, 0, text,
                            sizeof(text)) == 0) {
    const platform::Dword formatError = kernel.GetLastError();
    std::snprintf(text, sizeof(text), "Format message failed.  Error: %d\n",
                  static_cast<int>(formatError));
  }
  ShowMessage(notice, text);
}

}  // namespace drvcmd
