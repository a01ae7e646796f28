// The firmware HEX file parser: reads the records of a file (or text) into a
// working image, as the updaters load firmware. No Qt, no user interface.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "flash/file_exception.h"
#include "flash/hex_line_reader.h"

namespace flash {

// Record layout: positions within the line.
inline constexpr char kRecordStart = ':';
inline constexpr std::size_t kByteCountPosition = 1;
inline constexpr std::size_t kAddressPosition = 3;
inline constexpr std::size_t kRecordTypePosition = 7;
inline constexpr std::size_t kDataPosition = 9;
inline constexpr std::size_t kSegmentDigits = 4;

// Record types.
inline constexpr std::uint32_t kRecordData = 0x00;
inline constexpr std::uint32_t kRecordEndOfFile = 0x01;
inline constexpr std::uint32_t kRecordExtendedSegment = 0x02;

// A segment base of 0x50000 holds the dual image's second tail block, which
// belongs at 0x41000.
inline constexpr std::uint32_t kSecondTailSegmentBase = 0x50000;
inline constexpr std::uint32_t kSecondTailOffset = 0x41000;

enum class HexLoadEnd {
  kNormalEnd,          // end record, end of file, or the loaded-byte total reached 0x42000
  kBadStartCharacter,  // a line (or line piece) does not start with ':'
  kBadRecord,          // fields not hexadecimal, or fewer digits than the record needs
  kFileException,      // the file could not be opened or read
};

struct HexLoadResult {
  HexLoadEnd end = HexLoadEnd::kNormalEnd;
  int lineNumber = 0;  // the line the parse stopped at (the last line read on a normal end)
  FileExceptionCause cause = FileExceptionCause::kGeneric;  // kFileException only
  std::size_t loadedBytes = 0;                              // the loaded-byte total
};

// Fills `working` (kLoadedImageSize bytes are used) with 0xFF, then parses the
// file's records into it. Data aimed at offsets from 0x42000 on is dropped but
// counted. A bad record stops the parse; what was stored stays in `working`.
HexLoadResult ParseHexFile(const std::string& path, std::span<std::uint8_t> working);

// The same for text already in memory.
HexLoadResult ParseHexText(std::string_view text, std::span<std::uint8_t> working);

// The same for a source the caller sets up (a stream of its own, a block size).
HexLoadResult ParseHexLines(HexLineReader& reader, std::span<std::uint8_t> working);

}  // namespace flash
