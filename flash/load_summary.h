// The summary a normal load writes into the status text: firmware type and
// version read from the image's ImageInfoBlock, in each build's wording.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "flash/flash_variant.h"

namespace flash {

// The pieces appended one after another: heading, interface, loading type,
// customer name (each only when present) and the version line. `imageBytes`
// must hold the ImageInfoBlock; a shorter image gives no pieces.
std::vector<std::string> LoadSummaryPieces(std::span<const std::uint8_t> imageBytes,
                                           const FlashVariant& variant);

// A character field's bytes up to its first zero byte, as "%.4s" prints them.
std::string FixedFieldText(std::span<const std::uint8_t> field);

// Image text is 8-bit (Latin-1); the status text is UTF-8.
std::string Latin1ToUtf8(std::string_view text);

}  // namespace flash
