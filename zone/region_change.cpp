// ChangeRegion: the checks before a change (selection, permanent state, disc
// presence, chosen region), SEND KEY, and the closing query.
#include <cstdio>

#include "drvcmd/generic_commands.h"
#include "zone/region_commands.h"
#include "zone/region_mask.h"
#include "zone/region_messages.h"
#include "zone/region_utility.h"

namespace zone {

ChangeOutcome RegionUtility::ChangeRegion() {
  int index = drvcmd::kNoItem;
  const std::optional<char> letter = SelectedLetter(&index);
  std::string message;
  ChangeOutcome outcome = ChangeOutcome::kNotSelected;
  if (!letter) {
    message = kNotSelectedText;
  } else {
    // The kept RpcState must belong to this drive.
    if (index != lastQueried_) QueryRegion();
    outcome = ChangeDrive(*letter, &message);
  }
  ui_.AppendStatusText(message);
  ui_.RefreshStatusBox();
  QueryRegion();
  return outcome;
}

ChangeOutcome RegionUtility::ChangeDrive(char letter, std::string* message) {
  if (!transport_ || transport_->OpenDrive(letter) != 0) {
    char text[64];
    std::snprintf(text, sizeof text, kDeviceOpenFailedFormat, letter);
    *message = text;
    return ChangeOutcome::kOpenFailed;
  }
  ChangeOutcome outcome = ChangeOutcome::kSendFailed;
  const bool initialState =
      UserChanges(rpcState_) == kInitialUserChanges && rpcState_.regionMask == 0xFF;
  if (TypeCode(rpcState_) == kTypeCodePermanent) {
    *message = kPermanentText;
    outcome = ChangeOutcome::kPermanent;
  } else if (!initialState && !WaitForDisc(letter)) {
    *message = kCanceledText;
    outcome = ChangeOutcome::kCanceled;
  } else if (const std::optional<int> region = ChosenRegion()) {
    if (SendRpcStructure(*transport_, *region, parameterList_) == drvcmd::kOutcomeGood) {
      *message = kRegionSetText;
      outcome = ChangeOutcome::kRegionSet;
    }
  } else {
    *message = kNoChoiceText;
    outcome = ChangeOutcome::kNoChoice;
  }
  transport_->CloseDrive();
  return outcome;
}

bool RegionUtility::WaitForDisc(char letter) {
  // Tests again at once on OK, as often as the user asks; Cancel ends the change.
  while (drvcmd::SendTestUnitReady(*transport_, drvcmd::DriveAddress{letter, 0, 0}) !=
         drvcmd::kOutcomeGood) {
    if (ui_.MessageBox(kDiscMissingText, kDiscMissingCaption,
                       drvcmd::kMbOkCancel | drvcmd::kMbIconExclamation) != drvcmd::kIdOk) {
      return false;
    }
  }
  return true;
}

std::optional<int> RegionUtility::ChosenRegion() {
  for (int region = 1; region <= kRegionCount; ++region) {
    if (ui_.RegionChoiceChecked(region)) return region;
  }
  return std::nullopt;
}

}  // namespace zone
