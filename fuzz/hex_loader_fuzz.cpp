// Fuzzes the firmware HEX loader: any input must load without reading or
// writing out of bounds, and give the same result and working image whether
// it is parsed as one text, read from a stream in small blocks, or run
// through the plain reference model.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "flash/firmware_image.h"
#include "flash/hex_line_reader.h"
#include "flash/hex_parser.h"
#include "fuzz/hex_reference_parser.h"

namespace {

// Exactly the working image's size, so a write past it is a heap overflow.
std::vector<std::uint8_t>& Buffer(int which) {
  static std::vector<std::vector<std::uint8_t>> buffers(
      3, std::vector<std::uint8_t>(flash::kLoadedImageSize));
  return buffers[static_cast<std::size_t>(which)];
}

void Expect(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "hex_loader_fuzz: %s\n", what);
  std::abort();
}

void ExpectSame(const flash::HexLoadResult& a, const std::vector<std::uint8_t>& aImage,
                const flash::HexLoadResult& b, const std::vector<std::uint8_t>& bImage,
                const char* what) {
  Expect(a.end == b.end && a.lineNumber == b.lineNumber && a.loadedBytes == b.loadedBytes, what);
  Expect(aImage == bImage, what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const flash::HexLoadResult whole = flash::ParseHexText(text, Buffer(0));
  Expect(whole.loadedBytes == 0 || whole.lineNumber > 0, "bytes loaded from no line");

  const flash::HexLoadResult reference = fuzzing::ReferenceParse(text, Buffer(1));
  ExpectSame(whole, Buffer(0), reference, Buffer(1), "the loader and the reference model differ");

  if (size > 0) {
    // The block size comes from the input, so boundaries fall everywhere.
    std::vector<char> bytes(text.begin(), text.end());
    std::FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
    Expect(stream != nullptr, "fmemopen failed");
    flash::HexLineReader reader(stream, 1 + data[0] % 64);
    const flash::HexLoadResult blocked = flash::ParseHexLines(reader, Buffer(2));
    std::fclose(stream);
    ExpectSame(whole, Buffer(0), blocked, Buffer(2), "a text and its stream read differ");
  }
  return 0;
}
