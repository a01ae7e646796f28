// Builds the firmware-file summary from the ImageInfoBlock.
#include "flash/load_summary.h"

#include <cstdio>

#include "flash/customer_types.h"
#include "flash/firmware_image.h"

namespace flash {

namespace {
constexpr std::uint8_t kInterfaceAtapi = 'A';
constexpr std::uint8_t kInterfaceScsi = 'S';
constexpr std::uint8_t kLoadingTray = 'T';
constexpr std::uint8_t kLoadingSlot = 'S';
constexpr std::size_t kImageInfoEnd = kInfoVersionOffset + kVersionSize;
}  // namespace

std::string FixedFieldText(std::span<const std::uint8_t> field) {
  std::string text;
  for (const std::uint8_t c : field) {
    if (c == 0) break;
    text += static_cast<char>(c);
  }
  return text;
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string utf8;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      utf8 += ch;
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

std::vector<std::string> LoadSummaryPieces(std::span<const std::uint8_t> imageBytes,
                                           const FlashVariant& variant) {
  std::vector<std::string> pieces;
  if (imageBytes.size() < kImageInfoEnd) return pieces;

  pieces.emplace_back(variant.summaryHeading);
  const std::uint8_t interfaceLetter = imageBytes[kInfoInterfaceOffset];
  if (interfaceLetter == kInterfaceAtapi) pieces.emplace_back("ATAPI ");
  if (interfaceLetter == kInterfaceScsi) pieces.emplace_back("SCSI ");
  const std::uint8_t loadingLetter = imageBytes[kInfoLoadingOffset];
  if (loadingLetter == kLoadingTray) pieces.emplace_back("TRAY ");
  if (loadingLetter == kLoadingSlot) pieces.emplace_back("SLOT ");
  if (const char* name =
          FindCustomerTypeName(imageBytes.subspan(kInfoCustomerOffset, kCustomerCodeSize))) {
    pieces.emplace_back(name);
  }

  // The version goes through the build's format with the field as its one
  // string argument, already cut at a zero byte.
  const std::string version = FixedFieldText(imageBytes.subspan(kInfoVersionOffset, kVersionSize));
  const int length = std::snprintf(nullptr, 0, variant.versionFormat, version.c_str());
  if (length > 0) {
    std::string line(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(line.data(), line.size(), variant.versionFormat, version.c_str());
    line.resize(static_cast<std::size_t>(length));
    pieces.push_back(Latin1ToUtf8(line));
  }
  return pieces;
}

}  // namespace flash
