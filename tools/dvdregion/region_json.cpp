// Region report -> JSON.
#include "tools/dvdregion/region_json.h"

#include <cstdio>
#include <string>

#include "zone/region_mask.h"

namespace tools {
namespace {

using nlohmann::json;

constexpr int kMaskRegions = 8;

std::string Hex(std::uint8_t value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02x", value);
  return text;
}

const char* ChangeName(zone::ChangeOutcome outcome) {
  switch (outcome) {
    case zone::ChangeOutcome::kNotSelected:
      return "notSelected";
    case zone::ChangeOutcome::kOpenFailed:
      return "openFailed";
    case zone::ChangeOutcome::kPermanent:
      return "permanent";
    case zone::ChangeOutcome::kCanceled:
      return "canceled";
    case zone::ChangeOutcome::kNoChoice:
      return "noChoice";
    case zone::ChangeOutcome::kSendFailed:
      return "sendFailed";
    case zone::ChangeOutcome::kRegionSet:
      return "regionSet";
  }
  return "unknown";
}

json RpcJson(const zone::RpcState& state) {
  const std::optional<int> region = zone::RegionOfMask(state.regionMask);
  return {{"scheme", state.rpcScheme},
          {"rpc2", state.rpcScheme == zone::kRpcSchemePhase2},
          {"typeCode", zone::TypeCode(state)},
          {"permanent", zone::TypeCode(state) == zone::kTypeCodePermanent},
          {"changesLeft", zone::UserChanges(state)},
          {"vendorResets", zone::VendorResets(state)},
          {"regionMask", Hex(state.regionMask)},
          {"driveRegion", region ? json(*region) : json(nullptr)},
          {"hasRegion", state.regionMask != zone::kNoRegionMask}};
}

json DiscJson(const zone::DiscCopyrightInfo& disc) {
  json regions = json::array();
  const bool isProtected =
      disc.protectionType == zone::kProtectionCss || disc.protectionType == zone::kProtectionCprm;
  for (int region = 1; region <= kMaskRegions; ++region) {
    if (disc.protectionType == zone::kProtectionNone ||
        (isProtected && zone::RegionMarked(disc.regionMask, region))) {
      regions.push_back(region);
    }
  }
  const bool known = disc.protectionType == zone::kProtectionNone || isProtected;
  return {{"protection", disc.protectionType},
          {"protected", disc.protectionType != zone::kProtectionNone},
          {"regionMask", Hex(disc.regionMask)},
          {"regions", known ? regions : json(nullptr)}};
}

}  // namespace

json RegionReportJson(const zone::RegionReport& report, std::optional<zone::ChangeOutcome> change) {
  json out = {{"drive", report.letter != 0 ? json(std::string(1, report.letter)) : json(nullptr)},
              {"opened", report.opened},
              {"rpc", report.rpcRead ? RpcJson(report.rpcState) : json(nullptr)},
              {"disc", report.discRead ? DiscJson(report.disc) : json(nullptr)}};
  if (change) out["change"] = ChangeName(*change);
  return out;
}

}  // namespace tools
