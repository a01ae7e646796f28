// The sense a drive handed over with a CHECK CONDITION, kept per device until
// that device's next command. The kernel fetches a drive's sense at once
// (autosense) and the drive forgets it, so a REQUEST SENSE sent afterwards is
// answered from what was kept, as the drive itself would have answered it.
#pragma once

#include <scsi/sg.h>

#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/device_io.h"

namespace platform {

// Sense bytes asked of the kernel with every command, whatever the caller
// wants copied: the size of the kernel's own sense buffer.
inline constexpr std::size_t kKernelSenseBytes = 96;
inline constexpr unsigned char kScsiStatusGood = 0x00;
inline constexpr unsigned char kScsiStatusCheckCondition = 0x02;

// Whether a completion carries sense for the caller: the command failed with
// CHECK CONDITION and the kernel wrote sense bytes.
bool CarriesSense(const sg_io_hdr_t& header);

class PendingSense {
 public:
  // Sends one command to the device behind fd (named by device): a REQUEST
  // SENSE that follows a CHECK CONDITION is answered from the kept sense,
  // everything else goes to the drive and replaces what was kept. A command
  // the kernel refused never reached the drive, which has no sense about it:
  // the REQUEST SENSE that follows is refused the same way. The header's
  // sense buffer must hold kKernelSenseBytes. 0 or -errno.
  int Exchange(DeviceIo& io, int fd, const std::string& device, sg_io_hdr_t* header);

  // Forgets a device's sense (its command went elsewhere or failed to start).
  void Clear(const std::string& device);

 private:
  // What the last command left for a REQUEST SENSE.
  struct Kept {
    std::vector<unsigned char> sense;
    int refusal = 0;  // -errno of a command the kernel refused
  };

  // Whether a REQUEST SENSE was answered here; *rc is then its result.
  bool AnswerRequestSense(const std::string& device, sg_io_hdr_t* header, int* rc);

  std::mutex mutex_;  // the ASPI stand-in completes requests on worker threads
  std::map<std::string, Kept> kept_;
};

}  // namespace platform
