// An independent, strict Intel HEX reader for the generator tests: checks every
// record's syntax and checksum and maps segments as the updater's loader does.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace emu::testing {

struct HexReadResult {
  std::vector<std::uint8_t> image;      // 0x42000 bytes, 0xFF where no record wrote
  std::vector<std::uint16_t> segments;  // type-02 values in file order
  std::size_t dataBytes = 0;
  bool sawEnd = false;
  std::string problem;  // empty when every line was a valid record
};

inline HexReadResult ReadHexStrict(const std::string& text, bool expectCrlf) {
  HexReadResult result;
  result.image.assign(0x42000, 0xFF);
  std::istringstream lines(text);
  std::string line;
  std::uint32_t base = 0;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const bool hasCr = !line.empty() && line.back() == '\r';
    if (hasCr != expectCrlf)
      return result.problem = "line end at " + std::to_string(number), result;
    if (hasCr) line.pop_back();
    if (result.sawEnd) return result.problem = "record after end", result;
    if (line.size() < 11 || line[0] != ':' || line.size() % 2 == 0) {
      return result.problem = "bad line " + std::to_string(number), result;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 1; i < line.size(); i += 2) {
      bytes.push_back(static_cast<std::uint8_t>(std::stoul(line.substr(i, 2), nullptr, 16)));
    }
    std::uint8_t sum = 0;
    for (std::uint8_t b : bytes) sum = static_cast<std::uint8_t>(sum + b);
    if (sum != 0) return result.problem = "checksum at line " + std::to_string(number), result;
    const std::size_t count = bytes[0];
    if (bytes.size() != count + 5)
      return result.problem = "count at line " + std::to_string(number), result;
    const std::uint32_t address = static_cast<std::uint32_t>(bytes[1]) << 8 | bytes[2];
    switch (bytes[3]) {
      case 0x00:
        for (std::size_t i = 0; i < count; ++i) {
          const std::size_t at = base + address + i;
          if (at >= result.image.size()) return result.problem = "beyond image", result;
          result.image[at] = bytes[4 + i];
        }
        result.dataBytes += count;
        break;
      case 0x01:
        result.sawEnd = true;
        break;
      case 0x02: {
        const auto segment = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
        result.segments.push_back(segment);
        base = segment * 16u == 0x50000 ? 0x41000 : segment * 16u;
        break;
      }
      default:
        return result.problem = "unexpected type at line " + std::to_string(number), result;
    }
  }
  return result;
}

}  // namespace emu::testing
