// The emulated drive models. Every text field has its exact on-the-wire width.
#include "emulator/drive_catalogue.h"

#include <algorithm>

namespace emu {
namespace {

constexpr std::uint32_t kIdentityAt1000 = 0x1000;
constexpr std::uint32_t kIdentityAt100 = 0x100;
constexpr std::uint32_t kIdentityAt2000 = 0x2000;

constexpr std::string_view kH8_3062A = "HITACHI H8_3062A";
constexpr std::string_view kH8_3062R = "HITACHI H8_3062R";
constexpr std::string_view kH8_3064F = "HITACHI H8_3064F";
constexpr std::string_view kH8S2357F = "RENESAS H8S2357F";

constexpr ModelSpec kModels[] = {
    {"KD-410",
     "TAVREON ",
     "DVD-ROM KD-410  ",
     "1.00",
     "G6KD410 ",
     {kH8_3064F, {}},
     0,
     kIdentityAt1000,
     'A',
     'T',
     "TVN",
     "G6, single controller, identity at 0x1000"},
    {"KD-320",
     "TAVREON ",
     "DVD-ROM KD-320  ",
     "1.00",
     "G5KD320 ",
     {kH8_3062A, kH8_3062R},
     1,
     kIdentityAt1000,
     'A',
     'T',
     "TVN",
     "G5, dual image, drive runs the HITACHI H8_3062R image"},
    {"KD-310",
     "TAVREON ",
     "DVD-ROM KD-310  ",
     "1.00",
     "G5KD310 ",
     {kH8_3062A, kH8_3062R},
     0,
     kIdentityAt1000,
     'A',
     'T',
     "TVN",
     "G5, dual image, drive runs the HITACHI H8_3062A image"},
    {"KD-420-ORBEC",
     "Orbec   ",
     "DVD-ROM KD-420  ",
     "2.10",
     "G6KD420 ",
     {kH8_3064F, {}},
     0,
     kIdentityAt2000,
     'A',
     'T',
     "ORC",
     "OEM G6, single controller, identity at 0x2000"},
    {"KD-4200-LUMAX",
     "Lumax   ",
     "KD-4200 PRO     ",
     "3.02",
     "G6KD4200",
     {kH8_3064F, {}},
     0,
     kIdentityAt100,
     'A',
     'S',
     "LMX",
     "OEM G6 slot loader, identity at 0x100"},
    {"KD-16X",
     "TAVREON ",
     "16X DVD-ROM     ",
     "1.20",
     "G6KD16X ",
     {kH8_3064F, {}},
     0,
     kIdentityAt1000,
     'A',
     'T',
     "TVN",
     "G6, row known to the pass-through updater only"},
    {"KD-600",
     "TAVREON ",
     "DVD-ROM KD-600  ",
     "0.90",
     "G8KD600 ",
     {kH8S2357F, {}},
     0,
     kIdentityAt1000,
     'S',
     'T',
     "TVN",
     "not in the supported-drive table"},
};

constexpr bool HasExactWidths(const ModelSpec& m) {
  const bool secondOk = m.controllers[1].empty() || m.controllers[1].size() == kControllerSize;
  return m.vendor.size() == kVendorSize && m.product.size() == kProductSize &&
         m.version.size() == kVersionSize && m.family.size() == kFamilySize &&
         m.controllers[0].size() == kControllerSize && secondOk && m.customerCode.size() == 3 &&
         (m.driveImage == 0 || (m.driveImage == 1 && !m.controllers[1].empty()));
}
static_assert(std::all_of(std::begin(kModels), std::end(kModels), HasExactWidths),
              "catalogue fields must have their on-the-wire widths");

}  // namespace

std::span<const ModelSpec> DriveModels() { return kModels; }

const ModelSpec* FindDriveModel(std::string_view name) {
  const auto* found = std::find_if(std::begin(kModels), std::end(kModels),
                                   [name](const ModelSpec& m) { return m.name == name; });
  return found == std::end(kModels) ? nullptr : found;
}

}  // namespace emu
