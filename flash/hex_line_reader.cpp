// The line-piece reader: buffered lines viewed in place, everything else
// character by character.
#include "flash/hex_line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace flash {

HexLineReader::HexLineReader(std::FILE* file, std::size_t blockSize)
    : file_(file),
      blockSize_(std::max<std::size_t>(blockSize, 1)),
      block_(std::make_unique_for_overwrite<char[]>(blockSize_)) {}

HexLineReader::HexLineReader(std::string_view text) : data_(text.data()), size_(text.size()) {}

HexLineReader::Status HexLineReader::Next(LinePiece& piece) {
  if (TakeBufferedLine(piece)) return Status::kPiece;
  return TakeCharacters(piece);
}

// The usual case: a whole line, LF included, is in the buffer and fits one
// piece. It is viewed where it lies, without a copy.
bool HexLineReader::TakeBufferedLine(LinePiece& piece) {
  const char* start = data_ + position_;
  // Up to kMaxLinePiece characters counted: a CR before the LF is not.
  const std::size_t window = std::min(size_ - position_, kMaxLinePiece + 1);
  const void* found = window == 0 ? nullptr : std::memchr(start, '\n', window);
  if (found == nullptr) return false;
  const auto lineFeed = static_cast<std::size_t>(static_cast<const char*>(found) - start);
  const bool carriageReturn = lineFeed > 0 && start[lineFeed - 1] == '\r';
  const std::size_t textLength = carriageReturn ? lineFeed - 1 : lineFeed;
  if (textLength + 1 > kMaxLinePiece) return false;
  piece.text = std::string_view(start, textLength);
  piece.endsLine = true;
  position_ += lineFeed + 1;
  return true;
}

// Pieces of long lines, lines that cross a block boundary and a last line
// without an LF, copied character by character.
HexLineReader::Status HexLineReader::TakeCharacters(LinePiece& piece) {
  std::size_t length = 0;
  bool endsLine = false;
  while (length < kMaxLinePiece) {
    const int c = Get();
    if (c < 0) break;
    if (c == '\r' && Peek() == '\n') continue;
    if (c == '\n') {
      endsLine = true;
      break;
    }
    piece_[length++] = static_cast<char>(c);
  }
  if (failed_) return Status::kError;
  if (length == 0 && !endsLine) return Status::kEnd;
  piece.text = std::string_view(piece_.data(), length);
  piece.endsLine = endsLine;
  return Status::kPiece;
}

// The next byte, or -1 at the end or on a read error.
int HexLineReader::Get() {
  if (position_ == size_ && !Refill()) return -1;
  return static_cast<unsigned char>(data_[position_++]);
}

int HexLineReader::Peek() {
  if (position_ == size_ && !Refill()) return -1;
  return static_cast<unsigned char>(data_[position_]);
}

bool HexLineReader::Refill() {
  if (file_ == nullptr || failed_) return false;
  errno = 0;
  const std::size_t got = std::fread(block_.get(), 1, blockSize_, file_);
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

}  // namespace flash
