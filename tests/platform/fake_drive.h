// An optical drive behind SG_IO as the kernel presents a real one, to answer a
// FakeDeviceIo: a refused command ends in CHECK CONDITION and its sense goes
// to the kernel's autosense at once (the caller sees as many bytes as its
// mx_sb_len allows), after which the drive has forgotten it and a REQUEST
// SENSE answers "no sense". Answers may be shorter than asked (resid), and a
// host failure comes back with SCSI status GOOD. In its ATAPI mode it knows
// only the 10-byte MODE commands and refuses the 6-byte ones with 05-20-00,
// as ATAPI drives do.
#pragma once

#include <scsi/sg.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace platform::testing {

inline constexpr std::uint8_t kFakeOpRequestSense = 0x03;
inline constexpr std::uint8_t kFakeOpInquiry = 0x12;
inline constexpr std::uint8_t kFakeOpReadBuffer = 0x3C;
inline constexpr std::uint8_t kFakeOpModeSelect6 = 0x15;
inline constexpr std::uint8_t kFakeOpModeSense6 = 0x1A;
inline constexpr std::uint8_t kFakeOpModeSelect10 = 0x55;
inline constexpr std::uint8_t kFakeOpModeSense10 = 0x5A;
inline constexpr unsigned short kFakeDidError = 0x07;

// Fixed-format sense with the given byte 2, ASC and ASCQ (18 bytes).
inline std::vector<unsigned char> FakeFixedSense(std::uint8_t keyByte, std::uint8_t asc,
                                                 std::uint8_t ascq) {
  std::vector<unsigned char> sense(18, 0);
  sense[0] = 0x70;
  sense[2] = keyByte;
  sense[7] = 10;
  sense[12] = asc;
  sense[13] = ascq;
  return sense;
}

class FakeDrive {
 public:
  // Vendor and product as the drive reports them in INQUIRY bytes 8-31.
  explicit FakeDrive(const std::string& vendorProduct = "TAVREON DVD-ROM KD-410   ") {
    inquiry.assign(36, 0);  // a drive answers fewer bytes than the 96 asked
    inquiry[0] = 0x05;
    inquiry[4] = static_cast<unsigned char>(inquiry.size() - 5);
    std::memcpy(inquiry.data() + 8, vendorProduct.data(),
                std::min<std::size_t>(24, vendorProduct.size()));
    std::memcpy(inquiry.data() + 32, "1.00", 4);
  }

  // The responder for FakeDeviceIo::responder.
  int Answer(sg_io_hdr_t* h) {
    if (const auto it = kernelRefusals.find(h->cmdp[0]); it != kernelRefusals.end()) {
      return -it->second;  // the kernel's command filter: the drive never sees it
    }
    {
      std::unique_lock lock(mutex_);
      ++commandsSeen_;
      commandSeen_.notify_all();
      released_.wait(lock, [&] { return !holdCommands; });
    }
    std::lock_guard lock(mutex_);
    const std::uint8_t opcode = h->cmdp[0];
    h->status = 0;
    h->host_status = 0;
    h->driver_status = 0;
    h->sb_len_wr = 0;
    h->resid = 0;
    if (const auto it = hostFailures.find(opcode); it != hostFailures.end()) {
      h->host_status = it->second;  // SCSI status stays GOOD
      h->resid = static_cast<int>(h->dxfer_len);
      return 0;
    }
    const bool sixByteMode = opcode == kFakeOpModeSense6 || opcode == kFakeOpModeSelect6;
    if (atapi && sixByteMode) return Refuse(h, FakeFixedSense(0x05, 0x20, 0x00));
    if (const auto it = refusals.find(opcode); it != refusals.end()) return Refuse(h, it->second);
    switch (opcode) {
      case kFakeOpInquiry:
        return Give(h, inquiry);
      case kFakeOpRequestSense: {
        ++requestSensesAnswered;
        const auto sense = pendingSense_.empty() ? FakeFixedSense(0, 0, 0) : pendingSense_;
        pendingSense_.clear();
        return Give(h, sense, h->cmdp[4]);
      }
      case kFakeOpModeSense6:
        return Give(h, ModeAnswer(h->cmdp, false), h->cmdp[4]);
      case kFakeOpModeSense10:
        return Give(h, ModeAnswer(h->cmdp, true), (std::size_t{h->cmdp[7]} << 8) | h->cmdp[8]);
      case kFakeOpModeSelect6:
        return TakeModeSelect(h, h->cmdp[4]);
      case kFakeOpModeSelect10:
        return TakeModeSelect(h, (std::size_t{h->cmdp[7]} << 8) | h->cmdp[8]);
      case kFakeOpReadBuffer: {
        const std::size_t offset = (std::size_t{h->cmdp[3]} << 16) | (h->cmdp[4] << 8) | h->cmdp[5];
        std::vector<unsigned char> bytes;
        if (offset < memory.size()) {
          bytes.assign(memory.begin() + static_cast<std::ptrdiff_t>(offset), memory.end());
        }
        return Give(h, bytes);
      }
      default:
        return 0;  // accepted, nothing to answer
    }
  }

  // Blocks the calling test until the drive has been sent `count` commands.
  void WaitForCommands(int count) {
    std::unique_lock lock(mutex_);
    commandSeen_.wait(lock, [&] { return commandsSeen_ >= count; });
  }
  void Release() {
    {
      std::lock_guard lock(mutex_);
      holdCommands = false;
    }
    released_.notify_all();
  }

  std::vector<unsigned char> inquiry;
  std::vector<unsigned char> memory;  // what READ BUFFER reads, from offset 0
  std::map<std::uint8_t, std::vector<unsigned char>> refusals;  // opcode -> sense
  std::map<std::uint8_t, unsigned short> hostFailures;          // opcode -> DID_*
  std::map<std::uint8_t, int> kernelRefusals;  // opcode -> errno of SG_IO (EPERM: no CAP_SYS_RAWIO)
  bool autosense = true;                       // false: a CHECK CONDITION brings no sense bytes
  // MODE SENSE answers a header of the form asked, the block descriptors
  // (unless DBD is set) and every page; at most modeAnswerLimit bytes of it
  // (and MODE SELECT takes no more).
  bool atapi = false;
  unsigned char mediumType = 0x70;
  std::vector<unsigned char> blockDescriptors;
  std::vector<unsigned char> modePages;
  std::size_t modeAnswerLimit = SIZE_MAX;
  std::vector<unsigned char> modeSelectList;  // the last MODE SELECT parameter list
  int requestSensesAnswered = 0;
  bool holdCommands = false;  // set before the command to hold it until Release

 private:
  static int Give(sg_io_hdr_t* h, const std::vector<unsigned char>& bytes,
                  std::size_t allocation = SIZE_MAX) {
    const std::size_t length = std::min({bytes.size(), std::size_t{h->dxfer_len}, allocation});
    if (length != 0 && h->dxferp != nullptr) std::memcpy(h->dxferp, bytes.data(), length);
    h->resid = static_cast<int>(h->dxfer_len - length);
    return 0;
  }
  int Refuse(sg_io_hdr_t* h, const std::vector<unsigned char>& sense) {
    pendingSense_ = sense;
    h->status = 0x02;
    h->resid = static_cast<int>(h->dxfer_len);
    if (!autosense) return 0;  // the drive keeps it for a REQUEST SENSE
    // Autosense: the kernel fetches the sense at once, the drive forgets it.
    const std::size_t copied = std::min<std::size_t>(pendingSense_.size(), h->mx_sb_len);
    std::memcpy(h->sbp, pendingSense_.data(), copied);
    h->sb_len_wr = static_cast<unsigned char>(copied);
    h->driver_status = 0x08;  // DRIVER_SENSE
    pendingSense_.clear();
    return 0;
  }
  std::vector<unsigned char> ModeAnswer(const unsigned char* cdb, bool tenByte) const {
    const bool dbd = (cdb[1] & 0x08) != 0;
    const std::size_t descriptors = dbd ? 0 : blockDescriptors.size();
    std::vector<unsigned char> answer(tenByte ? 8 : 4, 0);
    const std::size_t whole = answer.size() + descriptors + modePages.size();
    if (tenByte) {
      answer[0] = static_cast<unsigned char>((whole - 2) >> 8);
      answer[1] = static_cast<unsigned char>(whole - 2);
      answer[2] = mediumType;
      answer[7] = static_cast<unsigned char>(descriptors);
    } else {
      answer[0] = static_cast<unsigned char>(whole - 1);
      answer[1] = mediumType;
      answer[3] = static_cast<unsigned char>(descriptors);
    }
    answer.insert(answer.end(), blockDescriptors.begin(),
                  blockDescriptors.begin() + static_cast<std::ptrdiff_t>(descriptors));
    answer.insert(answer.end(), modePages.begin(), modePages.end());
    answer.resize(std::min(answer.size(), modeAnswerLimit));
    return answer;
  }
  int TakeModeSelect(sg_io_hdr_t* h, std::size_t listLength) {
    const std::size_t length = std::min<std::size_t>({listLength, h->dxfer_len, modeAnswerLimit});
    const auto* list = static_cast<const unsigned char*>(h->dxferp);
    modeSelectList.assign(list, list + (list != nullptr ? length : 0));
    h->resid = static_cast<int>(h->dxfer_len - modeSelectList.size());
    return 0;
  }

  std::mutex mutex_;
  std::condition_variable released_;
  std::condition_variable commandSeen_;
  int commandsSeen_ = 0;
  std::vector<unsigned char> pendingSense_;
};

}  // namespace platform::testing
