// Builds our own firmware images for the emulated drive models: single- and
// dual-controller layouts with ImageInfoBlock, IdentityBlocks and InquiryTemplate,
// deterministic filler elsewhere, and deliberately broken variants.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/drive_catalogue.h"

namespace emu {

// Image offsets.
inline constexpr std::uint32_t kFullImageSize = 0x42010;  // incl. 16 bytes never in a file
inline constexpr std::uint32_t kMainImageSize = 0x20000;
inline constexpr std::uint32_t kSecondImageOffset = 0x20000;
inline constexpr std::uint32_t kSingleTailOffset = 0x20000;
inline constexpr std::uint32_t kDualFirstTailOffset = 0x40000;
inline constexpr std::uint32_t kDualSecondTailOffset = 0x41000;
inline constexpr std::uint32_t kTailSize = 0x1010;
inline constexpr std::uint32_t kTailMarkerOffset = 0x1000;  // inside a tail block
inline constexpr std::uint32_t kSingleFileLength = kSingleTailOffset + kTailSize;
inline constexpr std::uint32_t kDualFileLength = 0x42000;

// Offsets inside one main image.
inline constexpr std::uint32_t kImageInfoOffset = 0x3F0;
inline constexpr std::uint32_t kInfoInterfaceOffset = kImageInfoOffset + 0;
inline constexpr std::uint32_t kInfoLoadingOffset = kImageInfoOffset + 1;
inline constexpr std::uint32_t kInfoCustomerOffset = kImageInfoOffset + 2;
inline constexpr std::uint32_t kInfoVersionOffset = kImageInfoOffset + 5;
inline constexpr std::uint32_t kUnitAreaOffset = 0x400;
inline constexpr std::uint32_t kUnitAreaSize = 0x50;
inline constexpr std::uint32_t kInquiryTemplateOffset = 0x4800;  // where we place it
inline constexpr std::uint32_t kTemplateSearchStart = 0x450;

// IdentityBlock and InquiryTemplate.
inline constexpr std::size_t kIdentityBlockSize = 32;
inline constexpr std::size_t kFamilyOffset = 8;
inline constexpr std::size_t kControllerOffset = 16;
inline constexpr std::string_view kIdentitySignature = "TAVREON ";
inline constexpr std::array<std::uint8_t, 4> kInquiryTemplateKey = {0x05, 0x80, 0x00, 0x32};
inline constexpr std::size_t kTemplateIdentityOffset = 8;  // INQUIRY bytes 8-39 start here
inline constexpr std::size_t kTemplateIdentitySize = 32;

enum class BrokenVariant {
  kNone,
  kWrongController,
  kWrongFamily,
  kNoTemplate,
  kNoIdentity,
  kTruncated
};

std::optional<BrokenVariant> ParseBrokenVariant(std::string_view name);
std::string_view BrokenVariantName(BrokenVariant variant);
std::span<const BrokenVariant> BrokenVariants();  // every broken variant, kNone excluded

// Values used for the broken variants.
inline constexpr std::string_view kWrongController = "HITACHI H8_3048F";
inline constexpr std::string_view kWrongFamily = "XXBROKEN";

struct FirmwareBuild {
  std::vector<std::uint8_t> image;  // kFullImageSize bytes, as a loader would hold them
  std::uint32_t fileLength = 0;     // bytes from offset 0 that the file carries
  bool endRecord = true;            // false for a truncated file
};

// Four printable characters.
bool IsValidVersion(std::string_view version);

// A version that is not four characters is cut or blank-padded to four.
FirmwareBuild BuildFirmware(const ModelSpec& model, std::string_view version,
                            BrokenVariant broken = BrokenVariant::kNone);
// The HEX text of BuildFirmware's result.
std::string BuildFirmwareHex(const ModelSpec& model, std::string_view version,
                             BrokenVariant broken = BrokenVariant::kNone);

// Factory drive memory (main image plus tail block) of a drive of this model:
// the image its controller runs, with unit bytes derived from `unitSeed`.
std::vector<std::uint8_t> BuildDriveMemory(const ModelSpec& model, std::string_view version,
                                           std::uint32_t unitSeed);

// Offset of the first InquiryTemplate key inside a main image, searched as the
// updater does (0x450 up to the end of the main image).
std::optional<std::uint32_t> FindTemplateKey(std::span<const std::uint8_t> mainImage);

}  // namespace emu
