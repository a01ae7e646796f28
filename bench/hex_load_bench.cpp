// How long parsing a full dual-controller firmware HEX file takes, beside
// objcopy converting the same file to binary for comparison.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "flash/firmware_image.h"
#include "flash/hex_parser.h"

namespace {

constexpr unsigned kRecordBytes = 16;
constexpr unsigned kSegmentBytes = 0x10000;
constexpr unsigned kTailBytes = 0x1000;

std::string Hex2(unsigned value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

std::string Record(unsigned type, unsigned address, const std::vector<unsigned>& data) {
  unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
  std::string line = ":" + Hex2(static_cast<unsigned>(data.size())) + Hex2(address >> 8) +
                     Hex2(address) + Hex2(type);
  for (const unsigned byte : data) {
    line += Hex2(byte);
    sum += byte;
  }
  return line + Hex2(0x100 - (sum & 0xFF)) + "\r\n";
}

// Segments 0x0000..0x3000 hold the two main images, 0x4000 and 0x5000 the
// two tail blocks: 0x42000 data bytes in all.
std::string DualControllerHexText() {
  std::string text;
  unsigned seed = 1;
  for (unsigned segment = 0; segment <= 0x5000; segment += 0x1000) {
    text += Record(0x02, 0, {segment >> 8, segment & 0xFF});
    const unsigned size = segment >= 0x4000 ? kTailBytes : kSegmentBytes;
    for (unsigned address = 0; address < size; address += kRecordBytes) {
      std::vector<unsigned> data(kRecordBytes);
      for (unsigned& byte : data) {
        seed = seed * 1103515245u + 12345u;
        byte = (seed >> 16) & 0xFF;
      }
      text += Record(0x00, address, data);
    }
  }
  return text + ":00000001FF\r\n";
}

// The generated file in a temporary folder, removed at exit.
class BenchFile {
 public:
  BenchFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hexbench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    const std::string text = DualControllerHexText();
    if (std::FILE* file = std::fopen(HexPath().c_str(), "wb")) {
      std::fwrite(text.data(), 1, text.size(), file);
      std::fclose(file);
    }
  }
  ~BenchFile() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  BenchFile(const BenchFile&) = delete;
  BenchFile& operator=(const BenchFile&) = delete;

  std::string HexPath() const { return (folder_ / "UPDATE.HEX").string(); }
  std::string BinPath() const { return (folder_ / "UPDATE.BIN").string(); }
  bool Ready() const { return !folder_.empty(); }

 private:
  std::filesystem::path folder_;
};

const BenchFile& SharedFile() {
  static const BenchFile file;
  return file;
}

void BM_ParseDualControllerHex(benchmark::State& state) {
  const BenchFile& file = SharedFile();
  if (!file.Ready()) {
    state.SkipWithError("cannot create the temporary HEX file");
    return;
  }
  std::vector<std::uint8_t> working(flash::kLoadedImageSize);
  for (auto _ : state) {
    const flash::HexLoadResult result = flash::ParseHexFile(file.HexPath(), working);
    benchmark::DoNotOptimize(result);
    if (result.end != flash::HexLoadEnd::kNormalEnd ||
        result.loadedBytes != flash::kLoadedImageSize) {
      state.SkipWithError("the generated file did not load in full");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(file.HexPath())));
}
BENCHMARK(BM_ParseDualControllerHex)->Unit(benchmark::kMillisecond);

// objcopy fills gaps itself and knows nothing of the 0x5000 mapping; it is
// here only as a yardstick for reading the same amount of HEX text.
void BM_ObjcopyDualControllerHex(benchmark::State& state) {
  const BenchFile& file = SharedFile();
  if (!file.Ready()) {
    state.SkipWithError("cannot create the temporary HEX file");
    return;
  }
  const std::string command =
      "objcopy -I ihex -O binary '" + file.HexPath() + "' '" + file.BinPath() + "' 2>/dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("objcopy is not available or failed");
      break;
    }
  }
}
BENCHMARK(BM_ObjcopyDualControllerHex)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
