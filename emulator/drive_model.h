// What one emulated device does with one command block: the drive's side of the
// exchange, independent of the transport that carried it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace emu {

enum class DataDirection { kNone, kIn, kOut };

// The kinds of state a drive keeps across starts; each is written back on its own.
enum class KeptKind : std::uint8_t { kNone, kFirmware, kRegion, kSpeedMode };

struct CommandBlock {
  std::array<std::uint8_t, 16> cdb{};
  std::uint8_t cdbLength = 0;
  DataDirection direction = DataDirection::kNone;
  // For kIn the drive writes at most data.size() bytes; for kOut it reads them.
  std::span<std::uint8_t> data;
};

struct CommandAnswer {
  std::uint8_t scsiStatus = 0;           // 0 good, 2 check condition
  std::array<std::uint8_t, 18> sense{};  // fixed-format sense when status is 2
  std::uint32_t bytesTransferred = 0;
  std::uint32_t durationMs = 0;           // how long the drive took (fault delays)
  KeptKind keptChange = KeptKind::kNone;  // the kind of kept state the command changed
};

inline constexpr std::uint8_t kStatusGood = 0x00;
inline constexpr std::uint8_t kStatusCheckCondition = 0x02;

}  // namespace emu
