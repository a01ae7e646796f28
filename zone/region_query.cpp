// QueryRegion: the drive's RPC state into the region choices and the
// changes-left label, the disc's regions into the disc indicators.
#include <cstdio>
#include <cstring>

#include "zone/region_commands.h"
#include "zone/region_mask.h"
#include "zone/region_messages.h"
#include "zone/region_utility.h"

namespace zone {
namespace {

constexpr std::size_t kMessageSize = 64;

std::string Format(const char* format, int value) {
  char text[kMessageSize];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

void RegionUtility::QueryRegion() {
  report_ = RegionReport{};
  int index = drvcmd::kNoItem;
  const std::optional<char> letter = SelectedLetter(&index);
  if (!letter) {
    ui_.AppendStatusText(kNotSelectedText);
    ui_.RefreshStatusBox();
    return;
  }
  report_.ran = true;
  report_.letter = *letter;
  lastQueried_ = index;

  // The disc indicators keep their check marks, greyed.
  for (int region = 1; region <= kRegionCount; ++region) {
    ui_.EnableRegionChoice(region, false);
    ui_.CheckRegionChoice(region, false);
    ui_.EnableDiscIndicator(region, false);
  }

  if (!transport_ || transport_->OpenDrive(*letter) != 0) {
    ui_.AppendStatusText(Format(kDeviceOpenFailedFormat, *letter));
    ui_.RefreshStatusBox();
    return;
  }
  report_.opened = true;

  std::string driveMessage;
  if (ReportRpcState(*transport_) != drvcmd::kOutcomeGood) {
    rpcState_ = {};
    driveMessage = kDriveRegionFailedText;
  } else {
    std::memcpy(&rpcState_, transport_->DataBuffer().data(), sizeof rpcState_);
    report_.rpcRead = true;
    report_.rpcState = rpcState_;
    ui_.SetChangesLeftText(rpcState_.rpcScheme == kRpcSchemePhase2
                               ? Format(kChangesLeftFormat, UserChanges(rpcState_))
                               : std::string(kNoRpc2Text));
    driveMessage = DecodeDriveRegion();
  }
  ui_.AppendStatusText(driveMessage);
  ui_.RefreshStatusBox();

  const std::string discMessage = ReadDiscRegions();
  transport_->CloseDrive();
  ui_.AppendStatusText(discMessage);
  ui_.RefreshStatusBox();
}

std::string RegionUtility::DecodeDriveRegion() {
  // Decoded whatever the RPC scheme byte says.
  const std::uint8_t mask = rpcState_.regionMask;
  if (const std::optional<int> region = RegionOfMask(mask)) {
    ui_.EnableRegionChoice(*region, true);
    ui_.PushRegionChoice(*region);
    ui_.CheckRegionChoice(*region, true);
    return Format(kDriveRegionFormat, *region);
  }
  if (mask == kNoRegionMask) {
    for (int region = 1; region <= kRegionCount; ++region) ui_.EnableRegionChoice(region, true);
    return kDriveNoRegionText;
  }
  return Format(kUnknownRegionFormat, mask);
}

std::string RegionUtility::ReadDiscRegions() {
  if (ReadDiscCopyright(*transport_, discBuffer_) != drvcmd::kOutcomeGood) {
    return kDiscRegionFailedText;
  }
  DiscCopyrightInfo disc{};
  std::memcpy(&disc, discBuffer_.data(), sizeof disc);
  report_.discRead = true;
  report_.disc = disc;

  switch (disc.protectionType) {
    case kProtectionNone:
      for (int region = 1; region <= kRegionCount; ++region) {
        ui_.EnableDiscIndicator(region, true);
        ui_.CheckDiscIndicator(region, true);
      }
      return kUnprotectedDiscText;
    case kProtectionCss:
    case kProtectionCprm: {
      std::string message = kDiscRegionsStart;
      for (int region = 1; region <= kRegionCount; ++region) {
        if (!RegionMarked(disc.regionMask, region)) continue;
        ui_.EnableDiscIndicator(region, true);
        ui_.CheckDiscIndicator(region, true);
        message += ' ';
        message += static_cast<char>('0' + region);
        ui_.EnableRegionChoice(region, true);
      }
      return message + kLineEnd;
    }
    default:
      return kUnknownProtectionText;
  }
}

}  // namespace zone
