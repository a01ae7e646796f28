// Decoding runs of hexadecimal digit pairs into bytes: the HEX loader's hot
// loop.
#pragma once

#include <cstddef>
#include <cstdint>

namespace flash {

// Decodes the 2 * count characters at `digits` (upper or lower case) into
// count bytes at `out`, first digit high. Returns false when any character is
// not a hexadecimal digit; `out` then holds no meaningful bytes.
bool DecodeHexBytes(const char* digits, std::size_t count, std::uint8_t* out);

}  // namespace flash
