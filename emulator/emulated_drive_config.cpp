// Builds an emulated drive from its machine-file object.
#include <charconv>
#include <nlohmann/json.hpp>

#include "emulator/drive_catalogue.h"
#include "emulator/emulated_drive.h"
#include "emulator/firmware_builder.h"
#include "emulator/machine_file_parser.h"

namespace emu {
namespace {

using nlohmann::json;

constexpr std::string_view kKeyType = "type";
constexpr std::string_view kKeyVendor = "vendor";
constexpr std::string_view kKeyProduct = "product";
constexpr std::string_view kKeyRevision = "revision";
constexpr std::string_view kKeyModel = "model";
constexpr std::string_view kKeyController = "controller";
constexpr std::string_view kKeyFamily = "family";
constexpr std::string_view kKeyFirmwareVersion = "firmwareVersion";
constexpr std::string_view kKeyDisc = "disc";
constexpr std::string_view kKeyUnitBytes = "unitBytes";
constexpr std::string_view kKeyCorrupt = "corruptDuringProgramming";
constexpr std::string_view kKeyNotReadyMs = "notReadyAfterProgrammingMs";
constexpr std::string_view kKeyBufferFaults = "bufferFaults";
constexpr std::string_view kKeySpeeds = "speeds";
constexpr std::string_view kKeySpeedMode = "speedMode";
constexpr std::string_view kKeyRegion = "region";

constexpr std::string_view kDeviceKeys[] = {
    kKeyType,         kKeyVendor,     kKeyProduct,   kKeyRevision,
    kKeyModel,        kKeyController, kKeyFamily,    kKeyFirmwareVersion,
    kKeyDisc,         kKeyUnitBytes,  kKeyCorrupt,   kKeyNotReadyMs,
    kKeyBufferFaults, kKeySpeeds,     kKeySpeedMode, kKeyRegion};
// Keys that describe firmware and so need a catalogue model.
constexpr std::string_view kFirmwareKeys[] = {kKeyController,   kKeyFamily,  kKeyFirmwareVersion,
                                              kKeyUnitBytes,    kKeyCorrupt, kKeyNotReadyMs,
                                              kKeyBufferFaults, kKeySpeeds,  kKeySpeedMode};

constexpr std::uint8_t kDefaultPeripheralType = 0x05;
constexpr std::uint8_t kRemovableBit = 0x80;
constexpr std::uint8_t kVersionTavreon = 0x00;
constexpr std::uint8_t kResponseFormatTavreon = 0x32;
constexpr std::uint8_t kResponseFormatOther = 0x02;
constexpr std::uint8_t kAdditionalLength = kInquiryDataSize - 5;
constexpr std::size_t kInquiryVendorOffset = 8;
constexpr std::size_t kInquiryProductOffset = 16;
constexpr std::size_t kInquiryRevisionOffset = 32;

class DeviceFieldReader {
 public:
  DeviceFieldReader(const json& object, const std::string& where, std::string* error)
      : object_(object), where_(where), error_(error) {}

  bool Has(std::string_view key) const { return object_.contains(std::string(key)); }

  bool Fail(std::string_view key, const std::string& what) {
    if (error_) *error_ = where_ + "." + std::string(key) + ": " + what;
    return false;
  }

  // An unsigned number: a JSON integer, or a string in decimal or "0x" hex.
  bool Number(std::string_view key, std::uint32_t max, std::uint32_t* out) {
    const json& value = object_.at(std::string(key));
    if (value.is_number_unsigned()) {
      const auto n = value.get<std::uint64_t>();
      if (n > max) return Fail(key, "must be at most " + std::to_string(max));
      *out = static_cast<std::uint32_t>(n);
      return true;
    }
    if (!value.is_string()) return Fail(key, "expected a number or a \"0x\" hex string");
    const auto text = value.get<std::string>();
    std::string_view digits = text;
    int base = 10;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
      digits.remove_prefix(2);
      base = 16;
    }
    std::uint64_t n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
      return Fail(key, "\"" + text + "\" is not a number");
    }
    if (n > max) return Fail(key, "must be at most " + std::to_string(max));
    *out = static_cast<std::uint32_t>(n);
    return true;
  }

  // How often a fault applies: a count, or "always" (-1).
  bool Times(std::string_view key, int* out) {
    const json& value = object_.at(std::string(key));
    if (value.is_string() && value.get<std::string>() == "always") {
      *out = -1;
      return true;
    }
    std::uint32_t count = 0;
    if (!Number(key, 0x7FFFFFFF, &count)) return false;
    *out = static_cast<int>(count);
    return true;
  }

  // A text of at most `width` printable characters, blank-padded to `width`.
  bool Text(std::string_view key, std::size_t width, std::string* out) {
    const json& value = object_.at(std::string(key));
    if (!value.is_string()) return Fail(key, "expected a string");
    auto text = value.get<std::string>();
    if (text.size() > width) {
      return Fail(key, "at most " + std::to_string(width) + " characters");
    }
    for (char c : text) {
      if (c < 0x20 || c > 0x7E) return Fail(key, "printable ASCII characters only");
    }
    text.resize(width, ' ');
    *out = std::move(text);
    return true;
  }

 private:
  const json& object_;
  const std::string& where_;
  std::string* error_;
};

void PutText(std::span<std::uint8_t> out, std::size_t at, std::string_view text) {
  std::copy(text.begin(), text.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

std::uint32_t DefaultUnitSeed(const ModelSpec& model) {
  std::uint32_t seed = 0x5EED;
  for (char c : model.name) seed = seed * 31 + static_cast<std::uint8_t>(c);
  return seed;
}

}  // namespace

std::span<const std::string_view> EmulatedDrive::DeviceKeys() { return kDeviceKeys; }

std::unique_ptr<EmulatedDrive> EmulatedDrive::FromJson(const json& device, const std::string& where,
                                                       std::string* error) {
  if (!device.is_object()) {
    if (error) *error = where + ": expected an object";
    return nullptr;
  }
  DeviceFieldReader read(device, where, error);
  std::unique_ptr<EmulatedDrive> drive(new EmulatedDrive());

  std::uint32_t type = kDefaultPeripheralType;
  if (read.Has(kKeyType) && !read.Number(kKeyType, 0xFF, &type)) return nullptr;
  drive->peripheralType_ = static_cast<std::uint8_t>(type);

  if (read.Has(kKeyDisc) && !drive->ReadDiscConfig(device.at(std::string(kKeyDisc)),
                                                   where + "." + std::string(kKeyDisc), error)) {
    return nullptr;
  }

  const ModelSpec* model = nullptr;
  if (read.Has(kKeyModel)) {
    const json& name = device.at(std::string(kKeyModel));
    if (name.is_string()) model = FindDriveModel(name.get<std::string>());
    if (model == nullptr) {
      std::string known;
      for (const ModelSpec& m : DriveModels())
        known += (known.empty() ? "" : ", ") + std::string(m.name);
      read.Fail(kKeyModel, "unknown model (known: " + known + ")");
      return nullptr;
    }
  } else {
    for (std::string_view key : kFirmwareKeys) {
      if (read.Has(key)) {
        read.Fail(key, "only a drive with a \"model\" has firmware");
        return nullptr;
      }
    }
  }

  auto& inquiry = drive->inquiry_;
  inquiry[0] = drive->peripheralType_;
  inquiry[1] = drive->peripheralType_ == 0x00 ? 0x00 : kRemovableBit;
  inquiry[2] = kVersionTavreon;
  inquiry[3] = model ? kResponseFormatTavreon : kResponseFormatOther;
  inquiry[4] = kAdditionalLength;
  std::fill_n(inquiry.begin() + kInquiryVendorOffset, kVendorSize + kProductSize + kVersionSize,
              ' ');

  if (model) {
    std::string version(model->version);
    if (read.Has(kKeyFirmwareVersion)) {
      if (!read.Text(kKeyFirmwareVersion, kVersionSize, &version)) return nullptr;
    }
    std::uint32_t unitSeed = DefaultUnitSeed(*model);
    if (read.Has(kKeyUnitBytes) && !read.Number(kKeyUnitBytes, 0xFFFFFFFFu, &unitSeed)) {
      return nullptr;
    }
    drive->memory_ = BuildDriveMemory(*model, version, unitSeed);
    drive->identityOffset_ = model->identityOffset;
    std::string text;
    if (read.Has(kKeyFamily)) {
      if (!read.Text(kKeyFamily, kFamilySize, &text)) return nullptr;
      PutText(drive->memory_, drive->identityOffset_ + kFamilyOffset, text);
    }
    if (read.Has(kKeyController)) {
      if (!read.Text(kKeyController, kControllerSize, &text)) return nullptr;
      PutText(drive->memory_, drive->identityOffset_ + kControllerOffset, text);
    }
    if (read.Has(kKeyNotReadyMs) &&
        !read.Number(kKeyNotReadyMs, 0x7FFFFFFF, &drive->notReadyAfterProgrammingMs_)) {
      return nullptr;
    }
    if (read.Has(kKeyCorrupt) &&
        !drive->ReadCorruptionFault(device.at(std::string(kKeyCorrupt)),
                                    where + "." + std::string(kKeyCorrupt), error)) {
      return nullptr;
    }
    if (read.Has(kKeyBufferFaults) &&
        !drive->ReadBufferFaults(device.at(std::string(kKeyBufferFaults)),
                                 where + "." + std::string(kKeyBufferFaults), error)) {
      return nullptr;
    }
    if (!drive->ReadSpeedFields(device, model->name, where, error)) return nullptr;
    drive->TakeIdentityFromMemory();
    // The catalogue's drives are RPC Phase II drives, in their initial state
    // unless the file says otherwise.
    drive->dvdCapable_ = true;
    drive->region_.supported = true;
  }
  if (read.Has(kKeyRegion) &&
      !drive->ReadRegionConfig(device.at(std::string(kKeyRegion)),
                               where + "." + std::string(kKeyRegion), error)) {
    return nullptr;
  }

  std::string text;
  if (read.Has(kKeyVendor)) {
    if (!read.Text(kKeyVendor, kVendorSize, &text)) return nullptr;
    PutText(inquiry, kInquiryVendorOffset, text);
  }
  if (read.Has(kKeyProduct)) {
    if (!read.Text(kKeyProduct, kProductSize, &text)) return nullptr;
    PutText(inquiry, kInquiryProductOffset, text);
  }
  if (read.Has(kKeyRevision)) {
    if (!read.Text(kKeyRevision, kVersionSize, &text)) return nullptr;
    PutText(inquiry, kInquiryRevisionOffset, text);
  }

  drive->factoryMemory_ = drive->memory_;
  drive->factoryInquiry_ = drive->inquiry_;
  return drive;
}

bool EmulatedDrive::ReadCorruptionFault(const json& fault, const std::string& where,
                                        std::string* error) {
  if (!fault.is_object()) {
    if (error) *error = where + ": expected an object {\"offset\": ..., \"times\": ...}";
    return false;
  }
  for (const auto& [key, value] : fault.items()) {
    if (key != "offset" && key != "times") {
      if (error) *error = where + "." + key + ": unknown key";
      return false;
    }
  }
  DeviceFieldReader read(fault, where, error);
  if (!read.Has("offset")) return read.Fail("offset", "missing");
  if (!read.Number("offset", kDriveMemorySize - 1, &corruptOffset_)) return false;
  corruptionsLeft_ = -1;
  if (read.Has("times") && !read.Times("times", &corruptionsLeft_)) return false;
  corruptDuringProgramming_ = true;
  return true;
}

bool EmulatedDrive::ReadBufferFaults(const json& faults, const std::string& where,
                                     std::string* error) {
  if (!faults.is_array()) {
    if (error) *error = where + ": expected a list";
    return false;
  }
  for (std::size_t i = 0; i < faults.size(); ++i) {
    const std::string here = where + "[" + std::to_string(i) + "]";
    const json& item = faults[i];
    if (!item.is_object()) {
      if (error) *error = here + ": expected {\"bufferId\": ..., \"sense\": \"KK-AA-QQ\"}";
      return false;
    }
    for (const auto& [key, value] : item.items()) {
      if (key != "bufferId" && key != "offset" && key != "sense" && key != "times") {
        if (error) *error = here + "." + key + ": unknown key";
        return false;
      }
    }
    DeviceFieldReader read(item, here, error);
    BufferFault fault;
    std::uint32_t number = 0;
    if (!read.Has("bufferId")) return read.Fail("bufferId", "missing");
    if (!read.Number("bufferId", 0xFF, &number)) return false;
    fault.bufferId = static_cast<std::uint8_t>(number);
    if (read.Has("offset")) {
      if (!read.Number("offset", 0xFFFFFF, &number)) return false;
      fault.offset = number;
    }
    const json* senseText = item.contains("sense") ? &item.at("sense") : nullptr;
    if (senseText == nullptr || !senseText->is_string() ||
        !ParseSenseText(senseText->get<std::string>(), &fault.sense)) {
      return read.Fail("sense", "expected \"KK-AA-QQ\" (e.g. \"03-0C-00\")");
    }
    if (read.Has("times") && !read.Times("times", &fault.timesLeft)) return false;
    bufferFaults_.push_back(fault);
  }
  return true;
}

}  // namespace emu
