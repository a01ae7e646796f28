// Big-endian field helpers for command blocks and the data drives return.
#pragma once

#include <cstdint>

namespace drvcmd {

inline void PutBe16(std::uint8_t* field, std::uint16_t value) {
  field[0] = static_cast<std::uint8_t>(value >> 8);
  field[1] = static_cast<std::uint8_t>(value);
}

inline void PutBe24(std::uint8_t* field, std::uint32_t value) {
  field[0] = static_cast<std::uint8_t>(value >> 16);
  field[1] = static_cast<std::uint8_t>(value >> 8);
  field[2] = static_cast<std::uint8_t>(value);
}

inline void PutBe32(std::uint8_t* field, std::uint32_t value) {
  field[0] = static_cast<std::uint8_t>(value >> 24);
  field[1] = static_cast<std::uint8_t>(value >> 16);
  field[2] = static_cast<std::uint8_t>(value >> 8);
  field[3] = static_cast<std::uint8_t>(value);
}

inline std::uint16_t GetBe16(const std::uint8_t* field) {
  return static_cast<std::uint16_t>((field[0] << 8) | field[1]);
}

inline std::uint32_t GetBe32(const std::uint8_t* field) {
  return (static_cast<std::uint32_t>(field[0]) << 24) |
         (static_cast<std::uint32_t>(field[1]) << 16) |
         (static_cast<std::uint32_t>(field[2]) << 8) | field[3];
}

}  // namespace drvcmd
