// ASPI back-end: the manager library, its host adapters and the one request
// block that every command reuses; completion by event.
#pragma once

#include <array>
#include <vector>

#include "drvcmd/transport.h"
#include "platform/aspi.h"

namespace drvcmd {

inline constexpr std::size_t kHaIdentifierSize = 16;
inline constexpr std::size_t kHaIdentifierSlotSize = 32;
inline constexpr std::size_t kMaxHaIdentifierSlots = 16;
inline constexpr std::size_t kAspiRequestSenseLength = 18;

class AspiTransport : public Transport {
 public:
  using Transport::Transport;
  ~AspiTransport() override;

  int StartTransport() override;
  int StopTransport() override;
  int ExecuteRequest(ScsiRequest& request) override {
    return Observed(request, SendRequest(request));
  }

  std::uint8_t AdapterCount() const { return adapterCount_; }
  // The adapter's SRB_HAInquiry record as the manager filled it.
  const platform::SrbHaInquiry& AdapterRecord(int adapter) const { return adapters_.at(adapter); }
  // paceaspi: each adapter's 16-byte HA_Identifier in its 32-byte slot.
  const std::array<std::uint8_t, kHaIdentifierSlotSize>& HaIdentifierSlot(int adapter) const {
    return haIdentifiers_.at(adapter);
  }
  // The request block every command reuses: at the start of the request block
  // buffer, unless a block the manager never gave back forced a move.
  platform::SrbExecScsiCmd* RequestBlock();
  // REQUEST SENSE data lands in an 18-byte area of the transport's own.
  std::span<std::uint8_t> RequestSenseArea() override { return senseArea_; }

 private:
  // Carries one request (ExecuteRequest adds the observer).
  int SendRequest(ScsiRequest& request);
  // What became of one request block: its final status (or the status the
  // manager rejected it with) and the target status.
  struct Completion {
    platform::Byte status = platform::kSsPending;
    platform::Byte targetStatus = 0;
  };
  Completion SendAndWait(const ScsiRequest& request);
  void FillRequestBlock(const ScsiRequest& request, platform::Handle event,
                        platform::SrbExecScsiCmd& srb);
  void ReclaimRequestBlock(platform::Handle event, std::uint32_t waitMilliseconds);
  void RequestSenseOfFailure();

  std::array<std::uint8_t, kAspiRequestSenseLength> senseArea_{};
  platform::Handle module_ = platform::kNullHandle;
  std::uint8_t adapterCount_ = 0;
  std::vector<platform::SrbHaInquiry> adapters_;
  std::array<std::array<std::uint8_t, kHaIdentifierSlotSize>, kMaxHaIdentifierSlots>
      haIdentifiers_{};
  std::span<std::uint8_t> requestBlockBuffer_;
  std::size_t requestBlockOffset_ = 0;
  platform::Handle memory_[4] = {};  // data, request block, image, small
};

}  // namespace drvcmd
