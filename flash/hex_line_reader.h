// Reads firmware HEX text as the loader takes it: in line pieces of at most
// kMaxLinePiece characters, from a file or from text in memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>

namespace flash {

// At most this many characters of a line, its line end included, are taken at
// once; the rest of a longer line comes as the next piece.
inline constexpr std::size_t kMaxLinePiece = 255;

// One line piece: its text without the LF, and whether an LF ended it.
struct LinePiece {
  std::string_view text;
  bool endsLine = false;
};

// Each piece ends after its LF if it has one. A CR right before an LF is
// dropped, as text-mode reading does, so it does not count toward the piece
// length; any other CR is kept.
class HexLineReader {
 public:
  enum class Status { kPiece, kEnd, kError };

  static constexpr std::size_t kDefaultBlockSize = 0x10000;

  // Reads `file` (not owned) in blocks of `blockSize` bytes (at least one).
  explicit HexLineReader(std::FILE* file, std::size_t blockSize = kDefaultBlockSize);
  explicit HexLineReader(std::string_view text);

  // On kPiece, `piece` views the piece (valid until the next call).
  Status Next(LinePiece& piece);
  // errno of a failed read (Status::kError).
  int ErrorNumber() const { return errorNumber_; }

 private:
  bool TakeBufferedLine(LinePiece& piece);
  Status TakeCharacters(LinePiece& piece);
  int Get();
  int Peek();
  bool Refill();

  std::FILE* file_ = nullptr;
  std::size_t blockSize_ = 0;
  std::unique_ptr<char[]> block_;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
  bool failed_ = false;
  int errorNumber_ = 0;
  std::array<char, kMaxLinePiece> piece_;
};

}  // namespace flash
