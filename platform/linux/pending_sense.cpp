// PendingSense.
#include "platform/linux/pending_sense.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr unsigned char kOpRequestSense = 0x03;
constexpr std::size_t kRequestSenseAllocationByte = 4;

bool IsRequestSense(const sg_io_hdr_t& header) {
  return header.cmdp != nullptr && header.cmd_len > kRequestSenseAllocationByte &&
         header.cmdp[0] == kOpRequestSense;
}

}  // namespace

bool CarriesSense(const sg_io_hdr_t& header) {
  return header.status == kScsiStatusCheckCondition && header.sb_len_wr > 0;
}

int PendingSense::Exchange(DeviceIo& io, int fd, const std::string& device, sg_io_hdr_t* header) {
  int rc = 0;
  if (AnswerRequestSense(device, header, &rc)) return rc;
  rc = io.SgIo(fd, header);
  std::lock_guard lock(mutex_);
  if (rc < 0) {
    kept_[device] = Kept{{}, rc};
  } else if (CarriesSense(*header)) {
    const std::size_t length =
        std::min<std::size_t>({header->sb_len_wr, header->mx_sb_len, kKernelSenseBytes});
    kept_[device] = Kept{{header->sbp, header->sbp + length}, 0};
  } else {
    kept_.erase(device);
  }
  return rc;
}

void PendingSense::Clear(const std::string& device) {
  std::lock_guard lock(mutex_);
  kept_.erase(device);
}

bool PendingSense::AnswerRequestSense(const std::string& device, sg_io_hdr_t* header, int* rc) {
  if (!IsRequestSense(*header)) return false;
  Kept kept;
  {
    std::lock_guard lock(mutex_);
    const auto it = kept_.find(device);
    if (it == kept_.end()) return false;
    kept = std::move(it->second);
    kept_.erase(it);
  }
  *rc = kept.refusal;
  if (kept.refusal != 0) return true;
  const std::vector<unsigned char>& sense = kept.sense;
  // The drive answers no more than the allocation length and the buffer allow.
  std::size_t length =
      std::min<std::size_t>(sense.size(), header->cmdp[kRequestSenseAllocationByte]);
  const bool readsData = header->dxfer_direction == SG_DXFER_FROM_DEV ||
                         header->dxfer_direction == SG_DXFER_TO_FROM_DEV;
  if (!readsData || header->dxferp == nullptr) length = 0;
  length = std::min<std::size_t>(length, header->dxfer_len);
  if (length != 0) std::memcpy(header->dxferp, sense.data(), length);
  header->status = kScsiStatusGood;
  header->masked_status = 0;
  header->msg_status = 0;
  header->host_status = 0;
  header->driver_status = 0;
  header->sb_len_wr = 0;
  header->resid = static_cast<int>(header->dxfer_len - length);
  header->duration = 0;
  header->info = 0;
  return true;
}

}  // namespace platform
