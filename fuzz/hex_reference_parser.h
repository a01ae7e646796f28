// A plain model of the HEX loading rules, written for clarity and not speed:
// the fuzzer holds the loader's results against it. Lines are split into
// pieces one character at a time, fields are decoded one digit at a time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "flash/firmware_image.h"
#include "flash/hex_parser.h"

namespace fuzzing {

inline int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// `digits` digits at `position` into `value`; false past the line or at a non-digit.
inline bool Hex(std::string_view line, std::size_t position, std::size_t digits,
                std::uint32_t& value) {
  value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    if (position + i >= line.size()) return false;
    const int digit = DigitValue(line[position + i]);
    if (digit < 0) return false;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return true;
}

inline flash::HexLoadResult ReferenceParse(std::string_view text, std::span<std::uint8_t> working) {
  std::fill_n(working.begin(), flash::kLoadedImageSize, std::uint8_t{0xFF});
  flash::HexLoadResult result;
  std::uint32_t base = 0;
  std::size_t at = 0;
  bool lineStart = true;
  while (at < text.size()) {
    // One piece: up to 255 characters, LF included, a CR before an LF dropped.
    std::string piece;
    while (piece.size() < flash::kMaxLinePiece && at < text.size()) {
      const char c = text[at++];
      if (c == '\r' && at < text.size() && text[at] == '\n') continue;
      piece += c;
      if (c == '\n') break;
    }
    if (lineStart) ++result.lineNumber;
    lineStart = piece.back() == '\n';
    if (piece.front() != ':') {
      result.end = flash::HexLoadEnd::kBadStartCharacter;
      break;
    }
    const std::string_view line =
        lineStart ? std::string_view(piece).substr(0, piece.size() - 1) : std::string_view(piece);
    std::uint32_t count = 0, address = 0, type = 0;
    if (!Hex(line, 1, 2, count) || !Hex(line, 3, 4, address) || !Hex(line, 7, 2, type)) {
      result.end = flash::HexLoadEnd::kBadRecord;
      break;
    }
    if (type == 1) break;
    if (type == 2) {
      std::uint32_t segment = 0;
      if (!Hex(line, 9, 4, segment)) {
        result.end = flash::HexLoadEnd::kBadRecord;
        break;
      }
      base = segment * 16 == 0x50000 ? 0x41000 : segment * 16;
    } else if (type == 0) {
      // Every byte is checked before any is stored.
      std::uint32_t value = 0;
      bool good = true;
      for (std::uint32_t i = 0; i < count && good; ++i) good = Hex(line, 9 + 2 * i, 2, value);
      if (!good) {
        result.end = flash::HexLoadEnd::kBadRecord;
        break;
      }
      for (std::uint32_t i = 0; i < count; ++i) {
        Hex(line, 9 + 2 * i, 2, value);
        const std::size_t offset = std::size_t{base} + address + i;
        if (offset < flash::kLoadedImageSize) working[offset] = static_cast<std::uint8_t>(value);
      }
      result.loadedBytes += count;
    }
    if (result.loadedBytes >= flash::kLoadedImageSize) break;
  }
  return result;
}

}  // namespace fuzzing
