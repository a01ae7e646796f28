// Intel HEX output for the firmware images we generate.
#include "emulator/intel_hex_writer.h"

#include <algorithm>
#include <array>

namespace emu {
namespace {

constexpr std::uint8_t kTypeData = 0x00;
constexpr std::uint8_t kTypeEnd = 0x01;
constexpr std::uint8_t kTypeSegment = 0x02;
constexpr std::uint32_t kSegmentParagraph = 16;  // segment value * 16 = base

void AppendHexByte(std::string& out, std::uint8_t value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  out.push_back(kDigits[value >> 4]);
  out.push_back(kDigits[value & 0x0F]);
}

// Segment value and record address under which an image offset is written.
std::uint16_t SegmentFor(std::uint32_t offset) {
  if (offset >= kRemappedAreaOffset) return kRemappedSegment;
  return static_cast<std::uint16_t>((offset / kSegmentSize) * kSegmentSize / kSegmentParagraph);
}

std::uint32_t SegmentBase(std::uint16_t segment) {
  return segment == kRemappedSegment ? kRemappedAreaOffset : segment * kSegmentParagraph;
}

}  // namespace

std::string HexRecord(std::uint8_t type, std::uint16_t address,
                      std::span<const std::uint8_t> data) {
  if (data.size() > kMaxRecordData) return {};  // the count would wrap: a corrupt record
  std::string line = ":";
  const auto count = static_cast<std::uint8_t>(data.size());
  const auto addressHigh = static_cast<std::uint8_t>(address >> 8);
  const auto addressLow = static_cast<std::uint8_t>(address & 0xFF);
  std::uint8_t sum = static_cast<std::uint8_t>(count + addressHigh + addressLow + type);
  AppendHexByte(line, count);
  AppendHexByte(line, addressHigh);
  AppendHexByte(line, addressLow);
  AppendHexByte(line, type);
  for (std::uint8_t b : data) {
    AppendHexByte(line, b);
    sum = static_cast<std::uint8_t>(sum + b);
  }
  AppendHexByte(line, static_cast<std::uint8_t>(0x100 - sum));
  return line;
}

std::string WriteIntelHex(std::span<const std::uint8_t> bytes, const HexWriteOptions& options) {
  const std::string lineEnd = options.crlf ? "\r\n" : "\n";
  std::string out;
  // ~45 characters per 16 data bytes.
  out.reserve(bytes.size() / kHexRecordDataSize * 46 + 64);
  bool haveSegment = false;
  std::uint16_t segment = 0;
  std::uint32_t offset = 0;
  const auto limit =
      static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size(), kMaxHexImageSize));
  while (offset < limit) {
    const std::uint16_t wanted = SegmentFor(offset);
    if (!haveSegment || wanted != segment) {
      const std::array<std::uint8_t, 2> value = {static_cast<std::uint8_t>(wanted >> 8),
                                                 static_cast<std::uint8_t>(wanted & 0xFF)};
      out += HexRecord(kTypeSegment, 0, value) + lineEnd;
      segment = wanted;
      haveSegment = true;
    }
    const std::uint32_t base = SegmentBase(segment);
    // A record never crosses into the next segment (or into the remapped area).
    std::uint32_t segmentEnd = base + kSegmentSize;
    if (offset < kRemappedAreaOffset) segmentEnd = std::min(segmentEnd, kRemappedAreaOffset);
    const std::uint32_t end = std::min<std::uint32_t>(
        {offset + static_cast<std::uint32_t>(kHexRecordDataSize), limit, segmentEnd});
    out += HexRecord(kTypeData, static_cast<std::uint16_t>(offset - base),
                     bytes.subspan(offset, end - offset)) +
           lineEnd;
    offset = end;
  }
  if (options.endRecord) out += HexRecord(kTypeEnd, 0, {}) + lineEnd;
  return out;
}

}  // namespace emu
