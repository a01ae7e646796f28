// The HEX record loop.
#include "flash/hex_parser.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "flash/firmware_image.h"
#include "flash/hex_digits.h"

namespace flash {

namespace {

// `count` bytes of two hexadecimal digits each from `position`; false when
// the line is too short or a character is not a digit.
bool ReadHexBytes(std::string_view line, std::size_t position, std::size_t count,
                  std::uint8_t* out) {
  if (position > line.size() || 2 * count > line.size() - position) return false;
  return DecodeHexBytes(line.data() + position, count, out);
}

struct RecordFields {
  std::uint32_t byteCount;
  std::uint32_t address;
  std::uint32_t type;
};

constexpr std::size_t kFieldBytes = (kDataPosition - kByteCountPosition) / 2;
static_assert(kAddressPosition == kByteCountPosition + 2 &&
              kRecordTypePosition == kAddressPosition + 4);

std::optional<RecordFields> ReadRecordFields(std::string_view line) {
  std::array<std::uint8_t, kFieldBytes> field{};
  if (!ReadHexBytes(line, kByteCountPosition, kFieldBytes, field.data())) return std::nullopt;
  return RecordFields{field[0], std::uint32_t{field[1]} << 8 | field[2], field[3]};
}

// The record loop over one source. The working image has been filled.
class RecordLoop {
 public:
  explicit RecordLoop(std::span<std::uint8_t> working)
      : working_(working.first(std::min(working.size(), kLoadedImageSize))) {}

  HexLoadResult Run(HexLineReader& reader) {
    HexLoadResult result;
    bool atLineStart = true;
    LinePiece piece;
    for (;;) {
      const HexLineReader::Status status = reader.Next(piece);
      if (status == HexLineReader::Status::kError) {
        result.end = HexLoadEnd::kFileException;
        result.cause = FileExceptionCauseFromErrno(reader.ErrorNumber());
        break;
      }
      if (status == HexLineReader::Status::kEnd) break;
      if (atLineStart) ++result.lineNumber;
      atLineStart = piece.endsLine;

      const std::optional<HexLoadEnd> end = TakeRecord(piece.text);
      if (end) {
        result.end = *end;
        break;
      }
      if (loadedBytes_ >= kLoadedImageSize) break;
    }
    result.loadedBytes = loadedBytes_;
    return result;
  }

 private:
  // Takes one line piece (without its LF); returns how the parse ends, or
  // nothing to go on.
  std::optional<HexLoadEnd> TakeRecord(std::string_view line) {
    // An empty line's piece is its LF alone, which is not ':' either.
    if (line.empty() || line.front() != kRecordStart) return HexLoadEnd::kBadStartCharacter;
    const std::optional<RecordFields> fields = ReadRecordFields(line);
    if (!fields) return HexLoadEnd::kBadRecord;

    switch (fields->type) {
      case kRecordEndOfFile:
        return HexLoadEnd::kNormalEnd;
      case kRecordExtendedSegment: {
        std::array<std::uint8_t, kSegmentDigits / 2> segment{};
        if (!ReadHexBytes(line, kDataPosition, segment.size(), segment.data())) {
          return HexLoadEnd::kBadRecord;
        }
        segmentBase_ = (std::uint32_t{segment[0]} << 8 | segment[1]) * 16;
        if (segmentBase_ == kSecondTailSegmentBase) segmentBase_ = kSecondTailOffset;
        return std::nullopt;
      }
      case kRecordData:
        return StoreData(line, *fields) ? std::nullopt : std::optional(HexLoadEnd::kBadRecord);
      default:
        return std::nullopt;  // other record types have no effect
    }
  }

  // Decodes every data digit before storing any, so a bad record stores nothing.
  bool StoreData(std::string_view line, const RecordFields& fields) {
    const std::size_t count = fields.byteCount;
    // A piece holds at most kMaxLinePiece characters, so this holds any record that fits.
    std::array<std::uint8_t, kMaxLinePiece / 2> data;
    if (count > data.size() || !ReadHexBytes(line, kDataPosition, count, data.data())) {
      return false;
    }
    const std::size_t offset = std::size_t{segmentBase_} + fields.address;
    // Bytes aimed beyond the image are dropped; they still count below.
    if (offset < working_.size()) {
      std::copy_n(data.begin(), std::min(count, working_.size() - offset),
                  working_.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    loadedBytes_ += count;
    return true;
  }

  std::span<std::uint8_t> working_;
  std::uint32_t segmentBase_ = 0;
  std::size_t loadedBytes_ = 0;
};

void FillWorkingImage(std::span<std::uint8_t> working) {
  std::fill_n(working.begin(), std::min(working.size(), kLoadedImageSize), kWorkingImageFill);
}

}  // namespace

HexLoadResult ParseHexFile(const std::string& path, std::span<std::uint8_t> working) {
  errno = 0;
  // Binary mode: the reader drops the CR of a CR LF itself, on every platform.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    HexLoadResult result;
    result.end = HexLoadEnd::kFileException;
    result.cause = FileExceptionCauseFromErrno(errno);
    FillWorkingImage(working);  // as a load that opened the file would have
    return result;
  }
  HexLineReader reader(file);
  const HexLoadResult result = ParseHexLines(reader, working);
  std::fclose(file);
  return result;
}

HexLoadResult ParseHexText(std::string_view text, std::span<std::uint8_t> working) {
  HexLineReader reader(text);
  return ParseHexLines(reader, working);
}

HexLoadResult ParseHexLines(HexLineReader& reader, std::span<std::uint8_t> working) {
  FillWorkingImage(working);
  RecordLoop loop(working);
  return loop.Run(reader);
}

}  // namespace flash
