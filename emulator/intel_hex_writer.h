// Writes image bytes as Intel HEX: 16-byte data records, a type-02 segment record
// per 64 KiB, the 0x41000 tail area under segment 0x5000, and an end record.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace emu {

inline constexpr std::size_t kHexRecordDataSize = 16;
inline constexpr std::uint32_t kSegmentSize = 0x10000;
// Image bytes from here on are written under the special segment.
inline constexpr std::uint32_t kRemappedAreaOffset = 0x41000;
inline constexpr std::uint16_t kRemappedSegment = 0x5000;
// The segment scheme reaches no further; bytes beyond are not written.
inline constexpr std::uint32_t kMaxHexImageSize = kRemappedAreaOffset + kSegmentSize;

struct HexWriteOptions {
  bool endRecord = true;
  bool crlf = true;  // CR LF line ends; readers strip the CR
};

// `bytes` are image offsets 0 .. bytes.size()-1 (at most kMaxHexImageSize).
std::string WriteIntelHex(std::span<const std::uint8_t> bytes, const HexWriteOptions& options = {});

// One record line (without line end): ":" count, address, type, data, checksum.
// The count is one byte: more than kMaxRecordData bytes give no record (empty).
inline constexpr std::size_t kMaxRecordData = 0xFF;
std::string HexRecord(std::uint8_t type, std::uint16_t address, std::span<const std::uint8_t> data);

}  // namespace emu
