// The speed utility's drive commands: SET CD SPEED with the vendor mode-control
// byte, START STOP UNIT and MODE SENSE of the capabilities page, each with its
// build's transport settings.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "drvcmd/scsi_request.h"
#include "drvcmd/transport.h"
#include "pace/pace_variant.h"

namespace pace {

inline constexpr std::uint8_t kOpStartStopUnit = 0x1B;
inline constexpr std::uint8_t kOpModeSense6 = 0x1A;
inline constexpr std::uint8_t kOpModeSense10 = 0x5A;
inline constexpr std::uint8_t kOpSetCdSpeed = 0xBB;

// SET CD SPEED (12 bytes).
inline constexpr std::size_t kSetCdSpeedCdbLength = 12;
inline constexpr std::size_t kSetCdSpeedModeByte = 1;
inline constexpr std::size_t kSetCdSpeedReadSpeedByte = 2;   // 16 bits, big-endian
inline constexpr std::size_t kSetCdSpeedWriteSpeedByte = 4;  // 16 bits, big-endian

// START STOP UNIT (6 bytes).
inline constexpr std::size_t kStartStopCdbLength = 6;
inline constexpr std::size_t kStartStopImmediateByte = 1;
inline constexpr std::size_t kStartStopControlByte = 4;
inline constexpr std::uint8_t kStartStopStartLoEjMask = 0x03;
inline constexpr std::uint8_t kStartStopPowerConditionMask = 0xF0;

// MODE SENSE of page 2Ah, current values, block descriptors disabled.
inline constexpr std::uint8_t kModeSenseDbd = 0x08;
inline constexpr std::uint8_t kCapabilitiesPageCode = 0x2A;
inline constexpr std::size_t kModeSenseDbdByte = 1;
inline constexpr std::size_t kModeSensePageByte = 2;
inline constexpr std::size_t kModeSense6CdbLength = 6;
inline constexpr std::size_t kModeSense6AllocationByte = 4;
inline constexpr std::size_t kModeSense10CdbLength = 10;
inline constexpr std::size_t kModeSense10AllocationByte = 7;  // 16 bits, big-endian
inline constexpr std::uint32_t kModeSense6ReplyLength = 26;
inline constexpr std::uint32_t kModeSense10ReplyLength = 34;
inline constexpr std::size_t kModeHeader6Length = 4;
inline constexpr std::size_t kModeHeader10Length = 8;
// Fields of page 2Ah, counted from the page's first byte.
inline constexpr std::size_t kPageMaximumReadSpeedByte = 8;  // kbytes/s, big-endian
inline constexpr std::size_t kPageCurrentReadSpeedByte = 14;

// Transport settings of the pass-through build.
inline constexpr std::uint32_t kSetCdSpeedTimeoutSeconds = 2;
inline constexpr std::uint32_t kStopSpindleTimeoutSeconds = 15;
inline constexpr std::uint32_t kCapabilitiesTimeoutSeconds = 10;
inline constexpr std::uint8_t kSpeedCommandSenseLength = 18;
inline constexpr std::uint8_t kCapabilitiesSenseLength = 24;

// Large enough for either build's reply.
using CapabilitiesReply = std::array<std::uint8_t, kModeSense10ReplyLength>;

struct ReadSpeeds {
  std::uint16_t current = 0;  // kbytes/s
  std::uint16_t maximum = 0;
};

// Each returns the outcome code; the sense of a failure is in the transport's
// LastSense().
int SetCdSpeed(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
               const PaceVariant& variant, std::uint8_t modeControl, std::uint16_t readSpeed,
               std::uint16_t writeSpeed);
// START STOP UNIT from its three arguments; the utility passes zeros (stop).
int StopSpindle(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                std::uint8_t immediate, std::uint8_t startLoEj, std::uint8_t powerCondition);
// Clears `reply`, then reads the page with the build's MODE SENSE into it.
int ReadCapabilitiesPage(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                         const PaceVariant& variant, CapabilitiesReply& reply);
// The two read speeds from a reply of the build's MODE SENSE.
ReadSpeeds SpeedsFromReply(const PaceVariant& variant, const CapabilitiesReply& reply);

}  // namespace pace
