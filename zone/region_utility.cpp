// The region utility's start-up, shut-down, drive table and selection.
#include "zone/region_utility.h"

#include "drvcmd/drive_scan.h"

namespace zone {

RegionUtility::RegionUtility(platform::Platform& system, RegionUi& ui) : system_(system), ui_(ui) {}

RegionUtility::~RegionUtility() { Stop(); }

int RegionUtility::Start() {
  transport_ = std::make_unique<drvcmd::SptiTransport>(drvcmd::ProgramId::kZoneSpti, system_, ui_);
  const int result = transport_->StartTransport();
  if (result != drvcmd::kStartOk || transport_->DataBuffer().size() < kRegionDataLength) {
    transport_->StopTransport();
    transport_.reset();
    return result != drvcmd::kStartOk ? result : drvcmd::kStartMemoryError;
  }
  lastQueried_ = drvcmd::kNoItem;
  rpcState_ = {};
  return drvcmd::kStartOk;
}

void RegionUtility::Stop() {
  if (!transport_) return;
  transport_->CloseDrive();
  transport_->StopTransport();
  transport_.reset();
}

const drvcmd::DriveCombo& RegionUtility::ScanDrives() {
  if (transport_) {
    drvcmd::ScanDrives(*transport_, drives_);
  } else {
    drives_ = drvcmd::DriveCombo{};
  }
  return drives_;
}

std::optional<char> RegionUtility::SelectedLetter(int* index) {
  const int selected = ui_.SelectedDriveIndex();
  *index = selected;
  if (selected < 0 || static_cast<std::size_t>(selected) >= drives_.labels.size() ||
      drives_.labels[static_cast<std::size_t>(selected)].empty()) {
    return std::nullopt;
  }
  // The letter is the label's first character, as the list shows it.
  return drives_.labels[static_cast<std::size_t>(selected)].front();
}

}  // namespace zone
