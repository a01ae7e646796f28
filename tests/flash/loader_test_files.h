// Helpers for the loader tests: a temporary folder that removes itself, HEX
// record text, and images sized like the updater's buffers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "flash/firmware_image.h"
#include "tests/support/host_calls.h"

namespace loadertest {

class TempDir {
 public:
  TempDir() { path_ = testsupport::MakeTemporaryFolder("loader-"); }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string Path(const std::string& name) const { return (path_ / name).string(); }

  // Writes `content` byte for byte and returns the file's path.
  std::string Write(const std::string& name, const std::string& content) const {
    const std::string path = Path(name);
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
      std::fwrite(content.data(), 1, content.size(), file);
      std::fclose(file);
    }
    return path;
  }

 private:
  std::filesystem::path path_;
};

inline std::string Hex2(unsigned value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

// One record with a correct checksum, ending in CR LF.
inline std::string Record(unsigned type, unsigned address, const std::vector<std::uint8_t>& data) {
  unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
  std::string line = ":" + Hex2(static_cast<unsigned>(data.size())) + Hex2(address >> 8) +
                     Hex2(address) + Hex2(type);
  for (const std::uint8_t byte : data) {
    line += Hex2(byte);
    sum += byte;
  }
  return line + Hex2(0x100 - (sum & 0xFF)) + "\r\n";
}

inline std::string SegmentRecord(unsigned segment) {
  return Record(0x02, 0,
                {static_cast<std::uint8_t>(segment >> 8), static_cast<std::uint8_t>(segment)});
}

inline const std::string kEndRecord = ":00000001FF\r\n";

// The updater's buffers: the image buffer and the data buffer, with spans
// bound as the updater binds them.
struct ImageBuffers {
  std::vector<std::uint8_t> imageBuffer = std::vector<std::uint8_t>(0x140000, 0);
  std::vector<std::uint8_t> dataBuffer = std::vector<std::uint8_t>(0x50000, 0);
  flash::FirmwareImage image;

  ImageBuffers() {
    image.bytes = std::span(imageBuffer).first(flash::kImageSize);
    image.working = std::span(dataBuffer).first(flash::kLoadedImageSize);
  }
};

}  // namespace loadertest
