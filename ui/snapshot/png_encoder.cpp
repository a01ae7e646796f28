// PNG chunks, CRC-32, and a zlib stream of stored deflate blocks.
#include "ui/snapshot/png_encoder.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace ui {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kColourTypeRgba = 6;
constexpr std::uint8_t kFilterNone = 0;
constexpr std::size_t kBytesPerPixel = 4;
constexpr std::size_t kStoredBlockLimit = 65535;  // LEN is 16 bits
constexpr std::uint8_t kZlibMethod = 0x78;        // deflate, 32 KiB window
constexpr std::uint8_t kZlibFlags = 0x01;         // no dictionary; 0x7801 % 31 == 0
constexpr std::uint32_t kAdlerModulus = 65521;
// A width or height beyond this is no window; it also keeps every size below in range.
constexpr int kMaxSide = 16384;

using Bytes = std::vector<std::uint8_t>;

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> values{};
    for (std::uint32_t n = 0; n < values.size(); ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      values[n] = c;
    }
    return values;
  }();
  return table;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) c = CrcTable()[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void PutBe32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void PutChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
  PutBe32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeStart = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, Crc32(out.data() + typeStart, out.size() - typeStart));
}

Bytes ZlibStored(const Bytes& raw) {
  Bytes out = {kZlibMethod, kZlibFlags};
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min(kStoredBlockLimit, raw.size() - offset);
    const bool last = offset + length == raw.size();
    out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
    const auto len = static_cast<std::uint16_t>(length);
    const auto nlen = static_cast<std::uint16_t>(~len);
    out.push_back(static_cast<std::uint8_t>(len & 0xFFu));
    out.push_back(static_cast<std::uint8_t>(len >> 8));
    out.push_back(static_cast<std::uint8_t>(nlen & 0xFFu));
    out.push_back(static_cast<std::uint8_t>(nlen >> 8));
    for (std::size_t i = offset; i < offset + length; ++i) {
      out.push_back(raw[i]);
      a = (a + raw[i]) % kAdlerModulus;
      b = (b + a) % kAdlerModulus;
    }
    offset += length;
  } while (offset < raw.size());
  PutBe32(out, (b << 16) | a);
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint32_t> argb) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return {};
  const auto columns = static_cast<std::size_t>(width);
  const auto rows = static_cast<std::size_t>(height);
  if (argb.size() != columns * rows) return {};

  Bytes header;
  PutBe32(header, static_cast<std::uint32_t>(width));
  PutBe32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {kBitDepth, kColourTypeRgba, 0, 0, 0});  // deflate, adaptive, no interlace

  Bytes raw;
  raw.reserve(rows * (1 + columns * kBytesPerPixel));
  for (std::size_t y = 0; y < rows; ++y) {
    raw.push_back(kFilterNone);
    for (std::size_t x = 0; x < columns; ++x) {
      const std::uint32_t pixel = argb[y * columns + x];
      raw.insert(raw.end(), {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                             static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 24)});
    }
  }

  Bytes file(kSignature.begin(), kSignature.end());
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", ZlibStored(raw));
  PutChunk(file, "IEND", {});
  return file;
}

bool WritePngFile(const std::string& path, int width, int height,
                  std::span<const std::uint32_t> argb, std::string* error) {
  const Bytes file = EncodePng(width, height, argb);
  if (file.empty()) {
    if (error != nullptr) *error = "no image to write";
    return false;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  out.close();
  if (!out) {
    if (error != nullptr) *error = path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace ui
