// Identification of a loaded firmware image: its controller count, identity
// and controller types, and the INQUIRY data the new firmware will report.
#include "flash/firmware_image.h"

#include <algorithm>
#include <cstring>

namespace flash {

namespace {

// Where an IdentityBlock may sit in the main image, in the order tried.
constexpr std::array<std::size_t, 3> kIdentityBlockOffsets = {0x1000, 0x100, 0x2000};
constexpr std::size_t kSecondImageOffset = kMainImageSize;  // dual layout

bool HasSignatureAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset + kIdentitySignatureSize > bytes.size()) return false;
  return std::memcmp(bytes.data() + offset, kIdentitySignature, kIdentitySignatureSize) == 0;
}

template <std::size_t N>
void CopyOut(std::span<const std::uint8_t> bytes, std::size_t offset,
             std::array<std::uint8_t, N>& target) {
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), N, target.begin());
}

}  // namespace

int IdentifyImage(FirmwareImage& image) {
  const std::span<const std::uint8_t> bytes = image.bytes;
  int count = 0;
  std::size_t position = 0;
  if (bytes.size() >= kImageSize) {
    for (const std::size_t offset : kIdentityBlockOffsets) {
      if (HasSignatureAt(bytes, offset)) {
        count = 1;
        position = offset + kImageIdentitySize;
        // Only the first location has a partner in the second main image.
        if (offset == kIdentityBlockOffsets[0] &&
            HasSignatureAt(bytes, kSecondImageOffset + offset)) {
          count = 2;
        }
        break;
      }
    }
  }

  image.controllerType1.fill(0);
  image.controllerType2.fill(0);
  if (count >= 1) {
    CopyOut(bytes, position - kImageIdentitySize, image.imageIdentity);
    CopyOut(bytes, position, image.controllerType1);
  }
  if (count == 2) CopyOut(bytes, position + kSecondImageOffset, image.controllerType2);
  image.controllerCount = count;
  return count;
}

int FindInquiryTemplate(FirmwareImage& image, std::uint32_t imageBase) {
  const std::span<const std::uint8_t> bytes = image.bytes;
  const std::size_t needed = kInquiryTemplateDataOffset + kFirmwareIdentitySize;
  // The copy reads k+8..k+39: never examine a key whose data would run off the image.
  if (bytes.size() < needed) return -1;
  const std::size_t first = std::size_t{imageBase} + kTemplateSearchStart;
  const std::size_t last =
      std::min(std::size_t{imageBase} + kTemplateSearchEnd, bytes.size() - needed);
  // Candidates are found by the key's first byte (memchr), then checked whole.
  for (std::size_t at = first; at <= last;) {
    const void* found = std::memchr(bytes.data() + at, kInquiryTemplateKey[0], last - at + 1);
    if (found == nullptr) break;
    at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - bytes.data());
    if (std::equal(kInquiryTemplateKey.begin(), kInquiryTemplateKey.end(), bytes.begin() + at)) {
      CopyOut(bytes, at + kInquiryTemplateDataOffset, image.newFirmwareIdentity);
      return 0;
    }
    ++at;
  }
  return -1;
}

}  // namespace flash
