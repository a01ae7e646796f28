// Firmware image construction for the emulated models.
#include "emulator/firmware_builder.h"

#include <algorithm>

#include "emulator/intel_hex_writer.h"

namespace emu {
namespace {

constexpr std::uint8_t kErasedByte = 0xFF;
constexpr std::uint8_t kTemplateAdditionalLength = 91;  // INQUIRY byte 4 of 96-byte data
constexpr std::size_t kControllerTagSize = 4;           // INQUIRY bytes 36-39

constexpr BrokenVariant kBrokenVariants[] = {
    BrokenVariant::kWrongController, BrokenVariant::kWrongFamily, BrokenVariant::kNoTemplate,
    BrokenVariant::kNoIdentity, BrokenVariant::kTruncated};

constexpr std::string_view kVariantNames[] = {"none",        "wrong-controller", "wrong-family",
                                              "no-template", "no-identity",      "truncated"};

// Salts keep the filler of each area different but reproducible.
enum class FillArea : std::uint32_t { kMainImage = 0x1000, kTail = 0x2000, kUnitBytes = 0x3000 };

std::uint32_t HashName(std::string_view text) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (char c : text) {
    hash ^= static_cast<std::uint8_t>(c);
    hash *= 16777619u;
  }
  return hash;
}

// Pseudo-random bytes that never contain 0x05, so the InquiryTemplate key can
// only appear where we put it.
void FillPseudoRandom(std::span<std::uint8_t> out, std::uint32_t seed) {
  std::uint32_t state = seed == 0 ? 0x9E3779B9u : seed;
  for (auto& b : out) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    const auto value = static_cast<std::uint8_t>(state >> 24);
    b = value == kInquiryTemplateKey[0] ? 0xA5 : value;
  }
}

std::uint32_t SeedFor(const ModelSpec& model, FillArea area, std::size_t index) {
  return HashName(model.name) ^ static_cast<std::uint32_t>(area) ^
         static_cast<std::uint32_t>(index * 0x01000193u);
}

// Never writes past `out`, whatever the text.
void PutText(std::span<std::uint8_t> out, std::size_t at, std::string_view text) {
  if (at >= out.size()) return;
  const std::size_t n = std::min(text.size(), out.size() - at);
  std::copy_n(text.begin(), n, out.begin() + static_cast<std::ptrdiff_t>(at));
}

// The template's vendor-specific bytes: the last four characters of the
// image's controller type, so the two images of a dual file report (and are
// told apart by) different INQUIRY data.
std::string_view ControllerTag(std::string_view controller) {
  return controller.substr(controller.size() - std::min(controller.size(), kControllerTagSize));
}

// Exactly four characters, so a bad version can never shift the layout.
std::string FixedVersion(std::string_view version) {
  std::string fixed(version.substr(0, kVersionSize));
  fixed.resize(kVersionSize, ' ');
  return fixed;
}

// One main image for controller `index` of the model.
void BuildMainImage(std::span<std::uint8_t> main, const ModelSpec& model, std::size_t index,
                    std::string_view version, BrokenVariant broken) {
  FillPseudoRandom(main, SeedFor(model, FillArea::kMainImage, index));

  main[kInfoInterfaceOffset] = static_cast<std::uint8_t>(model.interfaceLetter);
  main[kInfoLoadingOffset] = static_cast<std::uint8_t>(model.loadingLetter);
  PutText(main, kInfoCustomerOffset, model.customerCode);
  PutText(main, kInfoVersionOffset, version);
  // The unit-specific area is blank in a file; each drive keeps its own.
  std::fill_n(main.begin() + kUnitAreaOffset, kUnitAreaSize, kErasedByte);

  if (broken != BrokenVariant::kNoIdentity) {
    const std::string_view family =
        broken == BrokenVariant::kWrongFamily ? kWrongFamily : model.family;
    const std::string_view controller =
        broken == BrokenVariant::kWrongController ? kWrongController : model.controllers[index];
    PutText(main, model.identityOffset, kIdentitySignature);
    PutText(main, model.identityOffset + kFamilyOffset, family);
    PutText(main, model.identityOffset + kControllerOffset, controller);
  }

  if (broken != BrokenVariant::kNoTemplate) {
    const std::uint32_t at = kInquiryTemplateOffset;
    std::copy(kInquiryTemplateKey.begin(), kInquiryTemplateKey.end(), main.begin() + at);
    main[at + 4] = kTemplateAdditionalLength;
    std::fill_n(main.begin() + at + 5, 3, 0x00);
    const std::uint32_t identity = at + kTemplateIdentityOffset;
    PutText(main, identity, model.vendor);
    PutText(main, identity + kVendorSize, model.product);
    PutText(main, identity + kVendorSize + kProductSize, version);
    const std::size_t tagAt = identity + kVendorSize + kProductSize + kVersionSize;
    PutText(main, tagAt, std::string(kControllerTagSize, ' '));
    PutText(main, tagAt, ControllerTag(model.controllers[index]));
  }
}

void BuildTail(std::span<std::uint8_t> tail, const ModelSpec& model, std::size_t index) {
  FillPseudoRandom(tail.first(kTailMarkerOffset), SeedFor(model, FillArea::kTail, index));
  // The last 16 bytes carry the updater's marker once downloaded; blank here.
  std::fill(tail.begin() + kTailMarkerOffset, tail.end(), kErasedByte);
}

}  // namespace

std::optional<BrokenVariant> ParseBrokenVariant(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kVariantNames); ++i) {
    if (kVariantNames[i] == name) return static_cast<BrokenVariant>(i);
  }
  return std::nullopt;
}

std::string_view BrokenVariantName(BrokenVariant variant) {
  return kVariantNames[static_cast<std::size_t>(variant)];
}

std::span<const BrokenVariant> BrokenVariants() { return kBrokenVariants; }

bool IsValidVersion(std::string_view version) {
  return version.size() == kVersionSize &&
         std::all_of(version.begin(), version.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

FirmwareBuild BuildFirmware(const ModelSpec& model, std::string_view version,
                            BrokenVariant broken) {
  const std::string fixedVersion = FixedVersion(version);
  FirmwareBuild build;
  build.image.assign(kFullImageSize, 0x00);
  std::span<std::uint8_t> image = build.image;

  BuildMainImage(image.subspan(0, kMainImageSize), model, 0, fixedVersion, broken);
  if (model.IsDual()) {
    BuildMainImage(image.subspan(kSecondImageOffset, kMainImageSize), model, 1, fixedVersion,
                   broken);
    // The second tail overlaps the first one's last 16 bytes; build it last.
    BuildTail(image.subspan(kDualFirstTailOffset, kTailSize), model, 0);
    BuildTail(image.subspan(kDualSecondTailOffset, kTailSize), model, 1);
    // What a loader holds past the file: never loaded, so zero.
    std::fill(image.begin() + kDualFileLength, image.end(), 0x00);
    build.fileLength = kDualFileLength;
  } else {
    BuildTail(image.subspan(kSingleTailOffset, kTailSize), model, 0);
    build.fileLength = kSingleFileLength;
  }

  if (broken == BrokenVariant::kTruncated) {
    // The file breaks off before the identity block, without an end record.
    build.fileLength = std::min(build.fileLength, model.identityOffset);
    build.endRecord = false;
  }
  return build;
}

std::string BuildFirmwareHex(const ModelSpec& model, std::string_view version,
                             BrokenVariant broken) {
  const FirmwareBuild build = BuildFirmware(model, version, broken);
  HexWriteOptions options;
  options.endRecord = build.endRecord;
  return WriteIntelHex(std::span<const std::uint8_t>(build.image).first(build.fileLength), options);
}

std::vector<std::uint8_t> BuildDriveMemory(const ModelSpec& model, std::string_view version,
                                           std::uint32_t unitSeed) {
  const FirmwareBuild build = BuildFirmware(model, version);
  const std::uint32_t base = model.driveImage == 0 ? 0 : kSecondImageOffset;
  std::uint32_t tail = kSingleTailOffset;
  if (model.IsDual()) tail = model.driveImage == 0 ? kDualFirstTailOffset : kDualSecondTailOffset;

  std::vector<std::uint8_t> memory(kMainImageSize + kTailSize);
  std::copy_n(build.image.begin() + base, kMainImageSize, memory.begin());
  std::copy_n(build.image.begin() + tail, kTailSize, memory.begin() + kMainImageSize);
  FillPseudoRandom(std::span(memory).subspan(kUnitAreaOffset, kUnitAreaSize),
                   unitSeed ^ static_cast<std::uint32_t>(FillArea::kUnitBytes));
  return memory;
}

std::optional<std::uint32_t> FindTemplateKey(std::span<const std::uint8_t> mainImage) {
  const std::size_t end = std::min<std::size_t>(mainImage.size(), kMainImageSize);
  if (end < kTemplateSearchStart + kInquiryTemplateKey.size()) return std::nullopt;
  // The key must leave room for the identity that follows it.
  const std::size_t last = end - kTemplateIdentityOffset - kTemplateIdentitySize;
  for (std::size_t k = kTemplateSearchStart; k <= last; ++k) {
    if (std::equal(kInquiryTemplateKey.begin(), kInquiryTemplateKey.end(), mainImage.begin() + k)) {
      return static_cast<std::uint32_t>(k);
    }
  }
  return std::nullopt;
}

}  // namespace emu
