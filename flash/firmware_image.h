// The firmware image in memory: the image in effect (image buffer), the working
// image a load parses into (data buffer), and what identification found in it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace flash {

inline constexpr std::size_t kImageSize = 0x42010;        // image in effect
inline constexpr std::size_t kLoadedImageSize = 0x42000;  // what a file can fill
inline constexpr std::size_t kMainImageSize = 0x20000;
inline constexpr std::size_t kTailBlockSize = 0x1010;
inline constexpr std::size_t kMaxFilePathLength = 259;

inline constexpr std::uint8_t kWorkingImageFill = 0xFF;

// ImageInfoBlock
inline constexpr std::size_t kImageInfoOffset = 0x3F0;
inline constexpr std::size_t kInfoInterfaceOffset = kImageInfoOffset + 0;
inline constexpr std::size_t kInfoLoadingOffset = kImageInfoOffset + 1;
inline constexpr std::size_t kInfoCustomerOffset = kImageInfoOffset + 2;
inline constexpr std::size_t kInfoVersionOffset = kImageInfoOffset + 5;
inline constexpr std::size_t kCustomerCodeSize = 3;
inline constexpr std::size_t kVersionSize = 4;

// IdentityBlock
inline constexpr std::size_t kIdentityBlockSize = 32;
inline constexpr std::size_t kIdentitySignatureSize = 8;
inline constexpr std::size_t kImageIdentitySize = 16;  // signature + family field
inline constexpr std::size_t kControllerTypeOffset = 16;
inline constexpr std::size_t kControllerTypeSize = 16;
inline constexpr char kIdentitySignature[] = "TAVREON ";

// InquiryTemplate
inline constexpr std::array<std::uint8_t, 4> kInquiryTemplateKey = {0x05, 0x80, 0x00, 0x32};
inline constexpr std::size_t kInquiryTemplateDataOffset = 8;
inline constexpr std::size_t kFirmwareIdentitySize = 32;
inline constexpr std::size_t kTemplateSearchStart = 0x450;
inline constexpr std::size_t kTemplateSearchEnd = 0x1FFFF;  // last k examined

using ImageIdentity = std::array<std::uint8_t, kImageIdentitySize>;
using ControllerType = std::array<std::uint8_t, kControllerTypeSize>;
using FirmwareIdentity = std::array<std::uint8_t, kFirmwareIdentitySize>;

struct FirmwareImage {
  std::span<std::uint8_t> bytes;    // kImageSize bytes at the start of the image buffer
  std::span<std::uint8_t> working;  // kLoadedImageSize bytes at the start of the data buffer

  int controllerCount = 0;
  ImageIdentity imageIdentity{};
  ControllerType controllerType1{};
  ControllerType controllerType2{};
  FirmwareIdentity newFirmwareIdentity{};

  std::string filePath;       // last file chosen; offered by the next file dialog
  bool fileOpenUsed = false;  // pass-through updater: a double click may start an update
};

// Controller count 0, 1 or 2; sets the image identity and controller types.
int IdentifyImage(FirmwareImage& image);
// 0 found (new-firmware identity set), -1 not found (identity unchanged).
int FindInquiryTemplate(FirmwareImage& image, std::uint32_t imageBase);

}  // namespace flash
