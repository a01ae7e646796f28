// Every command an emulated drive receives, with every transport field, so tests
// can assert on exactly what went out. ASPI requests the manager refused at once
// (no device, malformed block) are logged too, with the SRB_Status they got;
// pass-through records refused as invalid parameters are not. The log is bounded
// so that a long session on the machine cannot grow without end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace emu {

enum class CommandPath { kPassThroughDirect, kPassThroughBuffered, kAspi };

struct LoggedCommand {
  CommandPath path = CommandPath::kPassThroughDirect;
  // Addressing: drive letter (pass-through, 0 for ASPI), adapter/target/lun.
  // Pass-through: adapter is the drive's port; pathId, target and lun are the
  // record's PathId, TargetId and Lun as received.
  char letter = 0;
  std::uint8_t adapter = 0;
  std::uint8_t pathId = 0;
  std::uint8_t target = 0;
  std::uint8_t lun = 0;
  std::array<std::uint8_t, 16> cdb{};
  std::uint8_t cdbLength = 0;

  // Pass-through record fields as received.
  std::uint32_t ioControlCode = 0;
  std::uint32_t inBufferSize = 0;
  std::uint32_t outBufferSize = 0;
  std::uint16_t length = 0;          // record Length
  std::uint8_t dataIn = 0;           // DataIn
  std::uint32_t transferLength = 0;  // DataTransferLength / SRB_BufLen
  std::uint32_t timeOutValue = 0;    // seconds
  std::uint8_t senseInfoLength = 0;
  std::uint32_t senseInfoOffset = 0;
  std::uintptr_t dataBufferOffset = 0;  // buffered record only
  bool dataBufferIsNull = false;

  // ASPI request block fields as received.
  std::uint8_t srbFlags = 0;
  std::uint8_t srbSenseLen = 0;
  // The wait the program then made on the request's event (0xFFFFFFFF = none
  // or INFINITE); filled in when the program waits.
  std::uint32_t waitMilliseconds = 0xFFFFFFFFu;
  bool waited = false;

  // Data the program sent (data-out commands), and what the drive answered.
  // dataOutReleased: the data went out, but the log no longer keeps its copy.
  std::vector<std::uint8_t> dataOut;
  bool dataOutReleased = false;
  std::uint8_t scsiStatus = 0;
  std::array<std::uint8_t, 3> senseTriple{};  // key byte, ASC, ASCQ of the answer

  // How the exchange ended on the transport: a pass-through call that failed
  // (with its Win32 code), the final SRB_Status/SRB_HaStat of an ASPI request
  // (SS_PENDING until it completes), and whether the handle held the drive lock.
  bool transportFailed = false;
  std::uint32_t errorCode = 0;
  std::uint8_t srbStatus = 0;
  std::uint8_t srbHaStat = 0;
  bool deviceLocked = false;
};

class CommandLog {
 public:
  // At this many entries the older half is dropped.
  static constexpr std::size_t kMaxEntries = 4096;
  // Data-out copies kept in all; beyond it the oldest copies are released. A
  // whole firmware download carries 0x21010 bytes, so several runs stay whole.
  static constexpr std::size_t kMaxDataOutBytes = std::size_t{4} << 20;

  const std::vector<LoggedCommand>& Entries() const { return entries_; }
  // Later completions of entries logged before a Clear no longer find them.
  void Clear() { DropOldest(entries_.size()); }
  // Returns the entry's id: its index in Entries() until the next Clear or drop.
  std::size_t Add(LoggedCommand entry) {
    if (entries_.size() >= kMaxEntries) DropOldest(kMaxEntries / 2);
    dataOutBytes_ += entry.dataOut.size();
    entries_.push_back(std::move(entry));
    ReleaseOldDataOut();
    return cleared_ + entries_.size() - 1;
  }
  LoggedCommand& At(std::size_t index) { return entries_.at(index); }
  // The entry with this id, or null when it was cleared or dropped since.
  LoggedCommand* Find(std::size_t id) {
    if (id < cleared_ || id - cleared_ >= entries_.size()) return nullptr;
    return &entries_[id - cleared_];
  }
  std::size_t DataOutBytes() const { return dataOutBytes_; }

 private:
  void DropOldest(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) dataOutBytes_ -= entries_[i].dataOut.size();
    entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(count));
    cleared_ += count;
    releaseCursor_ = releaseCursor_ > count ? releaseCursor_ - count : 0;
  }
  // Oldest first, never the newest entry's own data.
  void ReleaseOldDataOut() {
    while (dataOutBytes_ > kMaxDataOutBytes && releaseCursor_ + 1 < entries_.size()) {
      std::vector<std::uint8_t>& data = entries_[releaseCursor_++].dataOut;
      if (data.empty()) continue;
      dataOutBytes_ -= data.size();
      std::vector<std::uint8_t>().swap(data);
      entries_[releaseCursor_ - 1].dataOutReleased = true;
    }
  }

  std::vector<LoggedCommand> entries_;
  std::size_t cleared_ = 0;
  std::size_t dataOutBytes_ = 0;
  std::size_t releaseCursor_ = 0;  // entries before it keep no data-out copy
};

}  // namespace emu
