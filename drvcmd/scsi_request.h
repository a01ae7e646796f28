// One SCSI command as the callers describe it, its outcome code and the sense
// triple that failure messages print.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace drvcmd {

// Outcome codes returned by every drive command.
inline constexpr int kOutcomeGood = 0;
inline constexpr int kOutcomeCheckCondition = 2;
inline constexpr int kOutcomeFailure = -1;

inline constexpr std::uint32_t kWaitInfinite = 0xFFFFFFFFu;
inline constexpr std::size_t kCdbSize = 12;
inline constexpr std::size_t kSenseCopySize = 32;

enum class DataDirection { kNone, kIn, kOut };
enum class RecordKind { kDirect, kBuffered };  // pass-through record used

// Where a command goes: pass-through builds use the open drive (letter kept for
// reference), ASPI builds name host adapter and target (logical unit 0).
struct DriveAddress {
  char letter = 0;
  std::uint8_t adapter = 0;
  std::uint8_t target = 0;
};

struct ScsiRequest {
  DriveAddress address;
  std::array<std::uint8_t, kCdbSize> cdb{};
  std::uint8_t cdbLength = 6;  // standard length of the opcode; pass-through sends 12
  DataDirection direction = DataDirection::kNone;
  // Pass-through DataIn flag; commands without data keep their listed flag.
  std::uint8_t passThroughDataIn = 1;
  std::uint8_t* buffer = nullptr;
  std::uint32_t transferLength = 0;
  std::uint32_t timeoutSeconds = 0;                // pass-through TimeOutValue
  std::uint32_t waitMilliseconds = kWaitInfinite;  // ASPI completion wait
  std::uint8_t senseLength = 0;
  RecordKind record = RecordKind::kDirect;
  bool zeroBufferFirst = false;  // READ BUFFER / READ DVD STRUCTURE clear their target

  // Results.
  int outcome = kOutcomeGood;
  std::uint8_t scsiStatus = 0;
  std::array<std::uint8_t, kSenseCopySize> sense{};
  // Pass-through: the bytes the exchange moved, as the record reports them back
  // (a drive may answer fewer bytes than asked).
  std::uint32_t transferred = 0;
};

// Bytes 2, 12 and 13 of fixed-format sense data.
struct SenseTriple {
  std::uint8_t senseKeyByte = 0;
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;
};

inline constexpr std::size_t kSenseKeyByteOffset = 2;
inline constexpr std::size_t kSenseAscOffset = 12;
inline constexpr std::size_t kSenseAscqOffset = 13;

inline SenseTriple SenseTripleFrom(const std::uint8_t* fixedSense) {
  return {fixedSense[kSenseKeyByteOffset], fixedSense[kSenseAscOffset],
          fixedSense[kSenseAscqOffset]};
}

// "%02x-%02x-%02x"
std::string FormatSenseTriple(const SenseTriple& triple);

}  // namespace drvcmd
