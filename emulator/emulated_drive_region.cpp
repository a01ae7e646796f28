// The emulated drive's region commands: REPORT KEY (RPC state), SEND KEY (RPC
// structure) and READ DVD STRUCTURE (copyright information), the machine-file
// fields that set them up ("region", "disc") and the region's kept state.
#include <algorithm>
#include <array>
#include <bit>
#include <nlohmann/json.hpp>

#include "emulator/emulated_drive.h"
#include "emulator/field_reader.h"

namespace emu {
namespace {

using nlohmann::json;

constexpr std::size_t kRegionDataSize = 8;
constexpr std::uint16_t kRegionDataLength = kRegionDataSize - 2;

// REPORT KEY / SEND KEY fields.
constexpr std::size_t kKeyClassByte = 7;
constexpr std::size_t kKeyLengthOffset = 8;  // allocation / parameter list length, 16 bits
constexpr std::size_t kKeyFormatByte = 10;
constexpr std::uint8_t kKeyFormatMask = 0x3F;
constexpr std::uint8_t kKeyFormatRpcState = 0x08;
constexpr std::uint8_t kKeyFormatRpcStructure = 0x06;
constexpr std::size_t kRpcTypeByte = 4;
constexpr std::size_t kRpcMaskByte = 5;
constexpr std::size_t kRpcSchemeByte = 6;
constexpr std::size_t kPreferredRegionByte = 4;

// READ DVD STRUCTURE fields.
constexpr std::size_t kLayerByte = 6;
constexpr std::size_t kFormatByte = 7;
constexpr std::size_t kStructureLengthOffset = 8;
constexpr std::uint8_t kFormatCopyright = 0x01;
constexpr std::size_t kProtectionByte = 4;
constexpr std::size_t kDiscRegionByte = 5;

constexpr SenseCode kNotReadyNoDisc{0x02, 0x3A, 0x00};
constexpr SenseCode kParameterListLengthError{0x05, 0x1A, 0x00};
constexpr SenseCode kInvalidFieldInCdb{0x05, 0x24, 0x00};
constexpr SenseCode kInvalidFieldInParameterList{0x05, 0x26, 0x00};
// What drives answer READ DVD STRUCTURE with for a CD.
constexpr SenseCode kIncompatibleFormat{0x05, 0x30, 0x02};
// SEND KEY once no change is left.
constexpr SenseCode kRegionMustBePermanent{0x05, 0x6F, 0x05};

constexpr std::uint8_t kMaxTypeCode = 3;
constexpr std::uint8_t kMaxCount = 7;  // three-bit counters
constexpr int kRegionsInMask = 8;

std::uint32_t Be16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0]) << 8 | p[1]; }

std::uint32_t TransferIn(const CommandBlock& command, std::span<const std::uint8_t> source,
                         std::uint32_t allocation) {
  if (command.direction != DataDirection::kIn) return 0;
  const std::size_t n =
      std::min({static_cast<std::size_t>(allocation), source.size(), command.data.size()});
  std::copy_n(source.begin(), n, command.data.begin());
  return static_cast<std::uint32_t>(n);
}

// "file: devices[2]" -> the reader of a nested object "devices[2].key".
FieldReader NestedReader(const json& object, const std::string& where) {
  const std::size_t colon = where.find(": ");
  if (colon == std::string::npos) return FieldReader(object, where, "");
  return FieldReader(object, where.substr(0, colon), where.substr(colon + 2));
}

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

bool IsSingleRegionMask(std::uint8_t mask) { return std::popcount(mask) == kRegionsInMask - 1; }

std::uint8_t TypeCodeFor(std::uint8_t userChanges) {
  if (userChanges == 0) return kRegionTypePermanent;
  return userChanges == 1 ? kRegionTypeLastChange : kRegionTypeSet;
}

// The RPC fields of a "region" object or a kept state, onto `region`.
bool ReadRpcFields(const FieldReader& reader, RpcRegion* region, std::string* error) {
  std::uint64_t scheme = region->scheme, typeCode = region->typeCode, resets = region->vendorResets,
                changes = region->userChanges, mask = region->mask;
  if (!reader.IsObject(error) ||
      !reader.OnlyKeys({"scheme", "typeCode", "vendorResets", "userChanges", "mask"}, {}, error) ||
      !reader.Unsigned("scheme", Need::kOptional, 0xFF, &scheme, error) ||
      !reader.Unsigned("typeCode", Need::kOptional, kMaxTypeCode, &typeCode, error) ||
      !reader.Unsigned("vendorResets", Need::kOptional, kMaxCount, &resets, error) ||
      !reader.Unsigned("userChanges", Need::kOptional, kMaxCount, &changes, error) ||
      !reader.Unsigned("mask", Need::kOptional, 0xFF, &mask, error)) {
    return false;
  }
  region->scheme = static_cast<std::uint8_t>(scheme);
  region->typeCode = static_cast<std::uint8_t>(typeCode);
  region->vendorResets = static_cast<std::uint8_t>(resets);
  region->userChanges = static_cast<std::uint8_t>(changes);
  region->mask = static_cast<std::uint8_t>(mask);
  return true;
}

}  // namespace

CommandAnswer EmulatedDrive::ReportKey(const CommandBlock& command) {
  const std::uint8_t format = command.cdb[kKeyFormatByte] & kKeyFormatMask;
  // Only the RPC state is offered: no content-scramble authentication.
  if (!region_.supported || command.cdb[kKeyClassByte] != 0 || format != kKeyFormatRpcState) {
    return Check(kInvalidFieldInCdb);
  }
  std::array<std::uint8_t, kRegionDataSize> data{};
  data[0] = 0;
  data[1] = kRegionDataLength;
  data[kRpcTypeByte] = static_cast<std::uint8_t>(region_.typeCode << 6 | region_.vendorResets << 3 |
                                                 region_.userChanges);
  data[kRpcMaskByte] = region_.mask;
  data[kRpcSchemeByte] = region_.scheme;
  return Good(TransferIn(command, data, Be16(&command.cdb[kKeyLengthOffset])));
}

CommandAnswer EmulatedDrive::SendKey(const CommandBlock& command) {
  const std::uint8_t format = command.cdb[kKeyFormatByte] & kKeyFormatMask;
  if (!region_.supported || region_.scheme != kRpcSchemePhase2 || command.cdb[kKeyClassByte] != 0 ||
      format != kKeyFormatRpcStructure) {
    return Check(kInvalidFieldInCdb);
  }
  if (Be16(&command.cdb[kKeyLengthOffset]) != kRegionDataSize ||
      command.direction != DataDirection::kOut || command.data.size() < kRegionDataSize) {
    return Check(kParameterListLengthError);
  }
  if (region_.typeCode == kRegionTypePermanent || region_.userChanges == 0) {
    return Check(kRegionMustBePermanent);
  }
  const std::uint8_t mask = command.data[kPreferredRegionByte];
  if (!IsSingleRegionMask(mask)) return Check(kInvalidFieldInParameterList);
  // Setting the region the drive has already takes no change.
  if (mask == region_.mask) return Good();
  RememberKeptState();
  region_.mask = mask;
  --region_.userChanges;
  region_.typeCode = TypeCodeFor(region_.userChanges);
  CommandAnswer answer = Good();
  answer.keptChange = KeptKind::kRegion;
  return answer;
}

CommandAnswer EmulatedDrive::ReadDvdStructure(const CommandBlock& command) {
  if (disc_ == DiscKind::kNone) return Check(kNotReadyNoDisc);
  if (disc_ == DiscKind::kCd) return Check(kIncompatibleFormat);
  if (command.cdb[kFormatByte] != kFormatCopyright || command.cdb[kLayerByte] != 0) {
    return Check(kInvalidFieldInCdb);
  }
  std::array<std::uint8_t, kRegionDataSize> data{};
  data[1] = kRegionDataLength;
  data[kProtectionByte] = discCopyright_.protection;
  data[kDiscRegionByte] = discCopyright_.regionMask;
  return Good(TransferIn(command, data, Be16(&command.cdb[kStructureLengthOffset])));
}

bool EmulatedDrive::ReadRegionConfig(const json& region, const std::string& where,
                                     std::string* error) {
  dvdCapable_ = true;
  if (region.is_string() && region.get<std::string>() == "unsupported") {
    region_ = RpcRegion{};
    region_.supported = false;
    return true;
  }
  const FieldReader reader = NestedReader(region, where);
  RpcRegion configured;
  configured.supported = true;
  if (!region.is_object()) {
    return Fail(error, reader.WhereSelf() + ": expected an object or \"unsupported\"");
  }
  if (!ReadRpcFields(reader, &configured, error)) return false;
  region_ = configured;
  return true;
}

bool EmulatedDrive::ReadDiscConfig(const json& disc, const std::string& where, std::string* error) {
  const FieldReader reader = NestedReader(disc, where);
  std::string type;
  if (disc.is_string()) {
    type = disc.get<std::string>();
  } else if (disc.is_object()) {
    if (!reader.OnlyKeys({"type", "protection", "regionMask", "regions"}, {}, error) ||
        !reader.String("type", Need::kRequired, 8, &type, error)) {
      return false;
    }
  } else {
    return Fail(error, reader.WhereSelf() + ": expected \"none\", \"cd\", \"dvd\" or an object");
  }
  static constexpr std::pair<std::string_view, DiscKind> kKinds[] = {
      {"none", DiscKind::kNone}, {"cd", DiscKind::kCd}, {"dvd", DiscKind::kDvd}};
  const auto* kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                  [&](const auto& entry) { return entry.first == type; });
  if (kind == std::end(kKinds)) {
    const std::string at = disc.is_object() ? reader.Where("type") : reader.WhereSelf();
    return Fail(error, at + ": expected \"none\", \"cd\" or \"dvd\"");
  }
  disc_ = kind->second;
  discCopyright_ = DiscCopyright{};
  if (!disc.is_object()) return true;

  const bool hasMask = reader.Has("regionMask");
  const bool hasRegions = reader.Has("regions");
  if ((reader.Has("protection") || hasMask || hasRegions) && disc_ != DiscKind::kDvd) {
    return Fail(error, reader.WhereSelf() + ": only a DVD carries copyright information");
  }
  if (hasMask && hasRegions) {
    return Fail(error, reader.WhereSelf() + ": give \"regionMask\" or \"regions\", not both");
  }
  // A disc for given regions is protected unless it says otherwise.
  std::uint64_t protection = hasMask || hasRegions ? 0x01 : 0x00;
  std::uint64_t mask = 0x00;
  if (!reader.Unsigned("protection", Need::kOptional, 0xFF, &protection, error) ||
      !reader.Unsigned("regionMask", Need::kOptional, 0xFF, &mask, error)) {
    return false;
  }
  if (hasRegions) {
    const json& regions = disc.at("regions");
    mask = 0xFF;
    const std::string at = reader.Where("regions");
    if (!regions.is_array()) return Fail(error, at + ": expected a list of regions 1 to 8");
    for (const json& region : regions) {
      std::uint64_t number = 0;
      if (!ParseUnsignedValue(region, kRegionsInMask, &number) || number == 0) {
        return Fail(error, at + ": expected a list of regions 1 to 8");
      }
      mask &= ~(1u << (number - 1));
    }
  }
  discCopyright_.protection = static_cast<std::uint8_t>(protection);
  discCopyright_.regionMask = static_cast<std::uint8_t>(mask);
  return true;
}

json EmulatedDrive::SaveRegionState() const {
  return {{"typeCode", region_.typeCode},
          {"vendorResets", region_.vendorResets},
          {"userChanges", region_.userChanges},
          {"mask", region_.mask},
          {"scheme", region_.scheme}};
}

bool EmulatedDrive::LoadRegionState(const json& state, RpcRegion* loaded,
                                    std::string* error) const {
  if (!region_.supported) return Fail(error, "state.region: this drive keeps no region");
  *loaded = region_;
  const FieldReader reader(state, "state", "region");
  std::string fieldError;
  if (!ReadRpcFields(reader, loaded, &fieldError)) {
    // The reader names "state: region.key"; the state's own messages read "state.region...".
    const std::size_t colon = fieldError.find(": ");
    return Fail(error,
                colon == std::string::npos ? fieldError : "state." + fieldError.substr(colon + 2));
  }
  return true;
}

}  // namespace emu
