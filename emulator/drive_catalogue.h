// The catalogue of emulated drive models: INQUIRY identity, firmware layout and
// image-info values of each model the firmware builder and the drives know.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace emu {

inline constexpr std::size_t kVendorSize = 8;
inline constexpr std::size_t kProductSize = 16;
inline constexpr std::size_t kVersionSize = 4;
inline constexpr std::size_t kFamilySize = 8;
inline constexpr std::size_t kControllerSize = 16;

struct ModelSpec {
  std::string_view name;     // catalogue name, e.g. "KD-410"
  std::string_view vendor;   // INQUIRY bytes 8-15
  std::string_view product;  // INQUIRY bytes 16-31
  std::string_view version;  // factory firmware version (also the INQUIRY revision)
  std::string_view family;   // IdentityBlock family field
  // Controller type of each image; the second is empty for a single-controller layout.
  std::array<std::string_view, 2> controllers;
  std::size_t driveImage;         // which of the images this drive runs (0 or 1)
  std::uint32_t identityOffset;   // IdentityBlock offset inside a main image
  char interfaceLetter;           // ImageInfoBlock: 'A' ATAPI, 'S' SCSI
  char loadingLetter;             // 'T' tray, 'S' slot
  std::string_view customerCode;  // three letters
  std::string_view description;   // one line for listings

  bool IsDual() const { return !controllers[1].empty(); }
  std::string_view DriveController() const { return controllers[driveImage]; }
};

std::span<const ModelSpec> DriveModels();
// Null when no model has that name.
const ModelSpec* FindDriveModel(std::string_view name);

}  // namespace emu
