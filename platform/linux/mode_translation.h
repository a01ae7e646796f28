// MODE SENSE(6) and MODE SELECT(6) for drives behind an ATAPI host. ATAPI
// (MMC) drives know only the 10-byte MODE commands, and libata passes a CDB
// through unchanged, so the 6-byte forms go out as their 10-byte forms: the
// command block, the allocation or parameter list length and the mode
// parameter header (4 bytes <-> 8 bytes) are converted both ways, and the
// caller sees the 6-byte command's answer, its sense and status as they came.
#pragma once

#include <scsi/sg.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace platform {

inline constexpr std::uint8_t kOpModeSelect6 = 0x15;
inline constexpr std::uint8_t kOpModeSense6 = 0x1A;
inline constexpr std::uint8_t kOpModeSelect10 = 0x55;
inline constexpr std::uint8_t kOpModeSense10 = 0x5A;

// Command blocks: byte 1 (DBD, PF, SP) and bytes 2-3 (page control, page
// and subpage codes) sit at the same places in both forms.
inline constexpr std::size_t kModeCdb6Length = 6;
inline constexpr std::size_t kModeCdb10Length = 10;
inline constexpr std::size_t kModeCdbFlagsByte = 1;
inline constexpr std::size_t kModeCdbPageByte = 2;
inline constexpr std::size_t kModeCdbSubpageByte = 3;
inline constexpr std::size_t kModeCdb6LengthByte = 4;  // allocation / parameter list length
inline constexpr std::size_t kModeCdb6ControlByte = 5;
inline constexpr std::size_t kModeCdb10LengthByte = 7;  // 16 bits, big-endian
inline constexpr std::size_t kModeCdb10ControlByte = 9;
// MODE SENSE(10)'s LLBAA has no place in the 6-byte form.
inline constexpr std::uint8_t kModeSense6FlagsMask = 0x08;  // DBD
inline constexpr std::uint8_t kModeSelectFlagsMask = 0x11;  // PF, SP

// Mode parameter header, 6-byte commands.
inline constexpr std::size_t kModeHeader6Size = 4;
inline constexpr std::size_t kHeader6DataLength = 0;
inline constexpr std::size_t kHeader6MediumType = 1;
inline constexpr std::size_t kHeader6DeviceSpecific = 2;
inline constexpr std::size_t kHeader6BlockDescriptorLength = 3;
// Mode parameter header, 10-byte commands (the two length fields big-endian).
inline constexpr std::size_t kModeHeader10Size = 8;
inline constexpr std::size_t kHeader10DataLength = 0;
inline constexpr std::size_t kHeader10MediumType = 2;
inline constexpr std::size_t kHeader10DeviceSpecific = 3;
inline constexpr std::size_t kHeader10BlockDescriptorLength = 6;
inline constexpr std::size_t kModeHeaderGrowth = kModeHeader10Size - kModeHeader6Size;

// The longest 6-byte transfer (an 8-bit length) in its 10-byte form.
inline constexpr std::size_t kModeTranslatedMaxLength = 0xFF + kModeHeaderGrowth;

// Whether a command block is MODE SENSE(6) or MODE SELECT(6).
bool IsSixByteModeCommand(const unsigned char* cdb, std::size_t length);

// Sends one command: a 6-byte MODE command goes out as its 10-byte form
// through `send`, everything else as it is. Returns what `send` returned.
int SendModeAsTenByte(sg_io_hdr_t* header, const std::function<int(sg_io_hdr_t*)>& send);

}  // namespace platform
