// Pass-through back-end: drive letters opened as "\\.\X:", commands carried in
// the direct or buffered pass-through record.
#pragma once

#include "drvcmd/transport.h"
#include "platform/pass_through.h"

namespace drvcmd {

class SptiTransport : public Transport {
 public:
  using Transport::Transport;
  ~SptiTransport() override;

  int StartTransport() override;
  int StopTransport() override;
  int ExecuteRequest(ScsiRequest& request) override {
    return Observed(request, SendRequest(request));
  }

  // 0 opened; -1 not usable (no message). An open drive is closed first.
  int OpenDrive(char letter);
  int CloseDrive();
  bool DriveIsOpen() const { return handle_ != platform::kNullHandle; }
  char OpenLetter() const { return openLetter_; }
  // Takes the device's advisory lock for the rest of the open (firmware update).
  int LockOpenDrive();

  // REQUEST SENSE data stays in the buffered record's data area.
  std::span<std::uint8_t> RequestSenseArea() override { return buffered_.DataBuf; }

 private:
  // Carries one request (ExecuteRequest adds the observer).
  int SendRequest(ScsiRequest& request);
  int SendDirect(ScsiRequest& request, platform::Dword* error);
  int SendBuffered(ScsiRequest& request, platform::Dword* error);
  int Classify(ScsiRequest& request, bool callSucceeded, platform::Dword error,
               platform::Uchar scsiStatus, const platform::Uchar* senseArea);

  platform::Handle handle_ = platform::kNullHandle;
  char openLetter_ = 0;
  platform::ScsiAddress address_{};
  platform::ScsiPassThroughDirectWithSense direct_{};
  platform::ScsiPassThroughWithBuffers buffered_{};
  platform::Handle memory_[3] = {};  // data, image, small
};

}  // namespace drvcmd
