// The HEX record loop and the line reader that feeds it.
#include "flash/hex_parser.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

#include "flash/firmware_image.h"

namespace flash {

namespace {

constexpr std::size_t kReadBlockSize = 0x10000;

// Reads a file or a text in pieces of at most kMaxLinePiece characters, each
// ending after its LF if it has one. A CR right before an LF is dropped, as
// text-mode reading does, so it does not count toward the piece length.
class LinePieceReader {
 public:
  enum class Status { kPiece, kEnd, kError };

  explicit LinePieceReader(std::FILE* file)
      : file_(file), block_(std::make_unique<char[]>(kReadBlockSize)) {}
  explicit LinePieceReader(std::string_view text) : data_(text.data()), size_(text.size()) {}

  // On kPiece, `piece` views the piece (valid until the next call).
  Status Next(std::string_view& piece) {
    std::size_t length = 0;
    while (length < kMaxLinePiece) {
      const int c = Get();
      if (c < 0) break;
      if (c == '\r' && Peek() == '\n') continue;
      piece_[length++] = static_cast<char>(c);
      if (c == '\n') break;
    }
    if (failed_) return Status::kError;
    if (length == 0) return Status::kEnd;
    piece = std::string_view(piece_.data(), length);
    return Status::kPiece;
  }

  int ErrorNumber() const { return errorNumber_; }

 private:
  // The next byte, or -1 at the end or on a read error.
  int Get() {
    if (position_ == size_ && !Refill()) return -1;
    return static_cast<unsigned char>(data_[position_++]);
  }
  int Peek() {
    if (position_ == size_ && !Refill()) return -1;
    return static_cast<unsigned char>(data_[position_]);
  }
  bool Refill() {
    if (file_ == nullptr || failed_) return false;
    errno = 0;
    const std::size_t got = std::fread(block_.get(), 1, kReadBlockSize, file_);
    if (got == 0 && std::ferror(file_)) {
      failed_ = true;
      errorNumber_ = errno;
      return false;
    }
    data_ = block_.get();
    size_ = got;
    position_ = 0;
    return got > 0;
  }

  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> block_;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
  bool failed_ = false;
  int errorNumber_ = 0;
  std::array<char, kMaxLinePiece> piece_{};
};

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// `digits` hexadecimal digits at `position`; nothing when the line is too
// short or a character is not a digit.
std::optional<std::uint32_t> ReadHex(std::string_view line, std::size_t position,
                                     std::size_t digits) {
  if (position > line.size() || digits > line.size() - position) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const int digit = HexDigitValue(line[position + i]);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

bool IsHexRun(std::string_view line, std::size_t position, std::size_t digits) {
  if (position > line.size() || digits > line.size() - position) return false;
  return std::all_of(line.begin() + static_cast<std::ptrdiff_t>(position),
                     line.begin() + static_cast<std::ptrdiff_t>(position + digits),
                     [](char c) { return HexDigitValue(c) >= 0; });
}

struct RecordFields {
  std::uint32_t byteCount;
  std::uint32_t address;
  std::uint32_t type;
};

std::optional<RecordFields> ReadRecordFields(std::string_view line) {
  const auto byteCount = ReadHex(line, kByteCountPosition, 2);
  const auto address = ReadHex(line, kAddressPosition, 4);
  const auto type = ReadHex(line, kRecordTypePosition, 2);
  if (!byteCount || !address || !type) return std::nullopt;
  return RecordFields{*byteCount, *address, *type};
}

// The record loop over one source. The working image has been filled.
class RecordLoop {
 public:
  explicit RecordLoop(std::span<std::uint8_t> working)
      : working_(working.first(std::min(working.size(), kLoadedImageSize))) {}

  HexLoadResult Run(LinePieceReader& reader) {
    HexLoadResult result;
    bool atLineStart = true;
    std::string_view piece;
    for (;;) {
      const LinePieceReader::Status status = reader.Next(piece);
      if (status == LinePieceReader::Status::kError) {
        result.end = HexLoadEnd::kFileException;
        result.cause = FileExceptionCauseFromErrno(reader.ErrorNumber());
        break;
      }
      if (status == LinePieceReader::Status::kEnd) break;
      if (atLineStart) ++result.lineNumber;
      atLineStart = piece.back() == '\n';

      const std::optional<HexLoadEnd> end = TakeRecord(piece);
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
  // Takes one line piece; returns how the parse ends, or nothing to go on.
  std::optional<HexLoadEnd> TakeRecord(std::string_view piece) {
    if (piece.front() != kRecordStart) return HexLoadEnd::kBadStartCharacter;
    const std::string_view line = piece.back() == '\n' ? piece.substr(0, piece.size() - 1) : piece;
    const std::optional<RecordFields> fields = ReadRecordFields(line);
    if (!fields) return HexLoadEnd::kBadRecord;

    switch (fields->type) {
      case kRecordEndOfFile:
        return HexLoadEnd::kNormalEnd;
      case kRecordExtendedSegment: {
        const auto segment = ReadHex(line, kDataPosition, kSegmentDigits);
        if (!segment) return HexLoadEnd::kBadRecord;
        segmentBase_ = *segment * 16;
        if (segmentBase_ == kSecondTailSegmentBase) segmentBase_ = kSecondTailOffset;
        return std::nullopt;
      }
      case kRecordData:
        return StoreData(line, *fields) ? std::nullopt : std::optional(HexLoadEnd::kBadRecord);
      default:
        return std::nullopt;  // other record types have no effect
    }
  }

  // Checks every data digit before storing any, so a bad record stores nothing.
  bool StoreData(std::string_view line, const RecordFields& fields) {
    const std::size_t count = fields.byteCount;
    if (!IsHexRun(line, kDataPosition, 2 * count)) return false;
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t offset = std::size_t{segmentBase_} + fields.address + i;
      // Bytes aimed beyond the image are dropped; they still count below.
      if (offset < working_.size()) {
        working_[offset] = static_cast<std::uint8_t>(*ReadHex(line, kDataPosition + 2 * i, 2));
      }
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
  FillWorkingImage(working);
  errno = 0;
  // Binary mode: the reader drops the CR of a CR LF itself, on every platform.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    HexLoadResult result;
    result.end = HexLoadEnd::kFileException;
    result.cause = FileExceptionCauseFromErrno(errno);
    return result;
  }
  LinePieceReader reader(file);
  RecordLoop loop(working);
  const HexLoadResult result = loop.Run(reader);
  std::fclose(file);
  return result;
}

HexLoadResult ParseHexText(std::string_view text, std::span<std::uint8_t> working) {
  FillWorkingImage(working);
  LinePieceReader reader(text);
  RecordLoop loop(working);
  return loop.Run(reader);
}

}  // namespace flash
