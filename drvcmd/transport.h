// The command layer's transport: the buffers it owns for the whole run and the
// one operation that carries a request to a drive. One back-end per program.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "drvcmd/notice.h"
#include "drvcmd/program_id.h"
#include "drvcmd/scsi_request.h"
#include "platform/platform.h"

namespace drvcmd {

inline constexpr std::size_t kDataBufferSize = 0x50000;
inline constexpr std::size_t kRequestBlockBufferSize = 0x50000;
inline constexpr std::size_t kImageBufferSize = 0x140000;
inline constexpr std::size_t kSmallBufferSize = 512;

// StartTransport results.
inline constexpr int kStartOk = 0;
inline constexpr int kStartMemoryError = -1;
inline constexpr int kStartAspiLoadError = 1;
inline constexpr int kStartAspiInitError = 2;
inline constexpr int kStartNoAdapters = 3;

// The message a program shows when StartTransport fails; empty for kStartOk.
const char* StartTransportMessage(int startResult);

// Told about every request the transport has carried, after it returned:
// the command-line tools print them for -v. Off (null) unless a tool sets one.
class RequestObserver {
 public:
  virtual ~RequestObserver() = default;
  virtual void RequestDone(const ScsiRequest& request, int outcome) = 0;
};

class Transport {
 public:
  Transport(ProgramId program, platform::Platform& system, Notice& notice)
      : program_(program), system_(system), notice_(notice) {
    system_.SetBlockNodeFallback(SendsOnlyBlockNodeCommands(program));
    // A command the system failed for a reason of its own (a drive change the
    // emulated machine cannot keep) is explained in the program's error box.
    system_.SetFailureNotice([this](const std::string& text) {
      notice_.MessageBox(text, std::string(), kMbOk | kMbIconHand);
    });
  }
  virtual ~Transport() { system_.SetFailureNotice({}); }
  Transport(const Transport&) = delete;
  Transport& operator=(const Transport&) = delete;

  // Allocates the buffers (data, request block on ASPI, image, small) and, on
  // ASPI, loads the manager and inquires every adapter. See kStart*.
  virtual int StartTransport() = 0;
  virtual int StopTransport() = 0;
  // Carries one request; returns and stores its outcome code, status and sense.
  virtual int ExecuteRequest(ScsiRequest& request) = 0;
  void SetRequestObserver(RequestObserver* observer) { observer_ = observer; }

  ProgramId Program() const { return program_; }
  platform::Platform& System() { return system_; }
  Notice& UserNotice() { return notice_; }

  // Empty until StartTransport allocated them.
  std::span<std::uint8_t> DataBuffer() { return dataBuffer_; }
  std::span<std::uint8_t> ImageBuffer() { return imageBuffer_; }
  std::span<std::uint8_t> SmallBuffer() { return smallBuffer_; }

  // The last command's outcome, SCSI status and sense copy.
  int LastOutcome() const { return lastOutcome_; }
  std::uint8_t LastScsiStatus() const { return lastScsiStatus_; }
  const std::array<std::uint8_t, kSenseCopySize>& LastSense() const { return lastSense_; }

  // Where SendRequestSense leaves its sense data (empty before StartTransport).
  virtual std::span<std::uint8_t> RequestSenseArea() { return {}; }

 protected:
  // Tells the observer, if any, of a request carried; returns its outcome.
  int Observed(const ScsiRequest& request, int outcome) {
    if (observer_ != nullptr) observer_->RequestDone(request, outcome);
    return outcome;
  }

  ProgramId program_;
  platform::Platform& system_;
  Notice& notice_;
  std::span<std::uint8_t> dataBuffer_;
  std::span<std::uint8_t> imageBuffer_;
  std::span<std::uint8_t> smallBuffer_;
  int lastOutcome_ = kOutcomeGood;
  std::uint8_t lastScsiStatus_ = 0;
  std::array<std::uint8_t, kSenseCopySize> lastSense_{};

 private:
  RequestObserver* observer_ = nullptr;
};

}  // namespace drvcmd
