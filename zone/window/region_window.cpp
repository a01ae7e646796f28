// RegionWindow: template 102's commands, the drive list, the placement of the
// region choices and the controls the region sequences set.
#include "zone/window/region_window.h"

#include <cstddef>

#include "resources/zone/zone_dialogs.h"
#include "resources/zone/zone_resource_ids.h"
#include "resources/zone/zone_strings.h"
#include "ui/host/latin1_text.h"
#include "ui/host/simple_dialog_logic.h"
#include "zone/window/region_choice_layout.h"

namespace zone {
namespace {

constexpr int kNoControl = 0;

bool ValidRegion(int region) { return region >= 1 && region <= kRegionCount; }

std::size_t Slot(int region) { return static_cast<std::size_t>(region - 1); }

int ChoiceId(int region) {
  return ValidRegion(region) ? resources::kRegionChoiceIds[Slot(region)] : kNoControl;
}

int IndicatorId(int region) {
  return ValidRegion(region) ? resources::kDiscIndicatorIds[Slot(region)] : kNoControl;
}

}  // namespace

RegionWindow::RegionWindow(ui::WindowSystem& windows, PushedLook* look)
    : windows_(windows), look_(look) {}

void RegionWindow::OnInitDialog(ui::WindowHost& host) {
  host_ = &host;
  const std::string aboutEntry = resources::kZoneAboutMenuText;
  if (!aboutEntry.empty()) host.AppendSystemMenuEntry(resources::kIdmAboutZone, aboutEntry);
  FillDriveList();
  PlaceRegionChoices();
  if (host.ListItemCount(resources::kIdcZoneDriveList) > 0) {
    RunCommand([this] { utility_->QueryRegion(); });
  }
}

bool RegionWindow::OnCommand(int id, int code) {
  switch (id) {
    case resources::kIdcGetRegion:
      if (code == ui::kBnClicked) RunCommand([this] { utility_->QueryRegion(); });
      return true;
    case resources::kIdcSetRegion:
      if (code == ui::kBnClicked) RunCommand([this] { utility_->ChangeRegion(); });
      return true;
    case resources::kIdcZoneExit:
      // Exit sends the window the system's Close command.
      if (code == ui::kBnClicked && host_ != nullptr && !OnSysCommand(ui::kSysClose)) {
        host_->SystemCommand(ui::kSysClose);
      }
      return true;
    case resources::kIdcZoneDriveList:
      if (code == ui::kCbnSelChange) RunCommand([this] { utility_->QueryRegion(); });
      return true;
    default:
      return false;
  }
}

bool RegionWindow::OnSysCommand(int command) {
  if (command != resources::kIdmAboutZone) return false;
  ShowAbout();
  return true;
}

void RegionWindow::ShowAbout() {
  if (host_ == nullptr) return;
  ui::SimpleDialogLogic about;
  host_->RunModal(resources::ZoneAboutTemplate(), about);
}

void RegionWindow::FillDriveList() {
  if (utility_ == nullptr) return;
  const drvcmd::DriveCombo& drives = utility_->ScanDrives();
  host_->ResetList(resources::kIdcZoneDriveList);
  for (const std::string& label : drives.labels) {
    // Drive labels are bytes as the drive sent them.
    host_->AddListItem(resources::kIdcZoneDriveList, ui::Latin1ToUtf8(label));
  }
  host_->SelectListItem(resources::kIdcZoneDriveList,
                        drives.selected >= 0 ? drives.selected : ui::kNoEntry);
}

void RegionWindow::PlaceRegionChoices() {
  const ui::ItemRect group = host_->ItemPlace(resources::kIdcRegionGroup);
  const ui::ItemRect label = host_->ItemPlace(resources::kIdcChangesLeft);
  const ui::ItemRect first = host_->ItemPlace(ChoiceId(1));
  // The rows start where the template starts them: below the group's caption.
  const RegionChoicePlacement placement =
      zone::PlaceRegionChoices(group, label, first, first.y - group.y);
  for (int region = 1; region <= kRegionCount; ++region) {
    host_->MoveItem(ChoiceId(region), placement.choices[Slot(region)]);
  }
  host_->MoveItem(resources::kIdcChangesLeft, placement.label);
}

template <typename Command>
void RegionWindow::RunCommand(Command command) {
  // A sequence never starts inside another (a message box runs its own loop).
  if (busy_ || utility_ == nullptr) return;
  busy_ = true;
  command();
  busy_ = false;
}

int RegionWindow::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  // Before the window is there (start-up) the box has no owner.
  return host_ != nullptr ? host_->MessageBox(text, caption, style)
                          : windows_.MessageBox(text, caption, style);
}

void RegionWindow::RefreshStatusBox() {
  if (host_ == nullptr) return;
  host_->SetItemText(resources::kIdcZoneStatusBox, statusText_);
  host_->ScrollItemToEnd(resources::kIdcZoneStatusBox);
}

int RegionWindow::SelectedDriveIndex() {
  if (host_ == nullptr) return drvcmd::kNoItem;
  const int index = host_->ListSelection(resources::kIdcZoneDriveList);
  return index == ui::kNoEntry ? drvcmd::kNoItem : index;
}

void RegionWindow::EnableRegionChoice(int region, bool enabled) {
  if (host_ != nullptr && ValidRegion(region)) host_->EnableItem(ChoiceId(region), enabled);
}

void RegionWindow::CheckRegionChoice(int region, bool checked) {
  if (host_ != nullptr && ValidRegion(region)) host_->CheckItem(ChoiceId(region), checked);
}

void RegionWindow::PushRegionChoice(int region) {
  if (host_ != nullptr && look_ != nullptr && ValidRegion(region)) {
    look_->Push(*host_, ChoiceId(region));
  }
}

bool RegionWindow::RegionChoiceChecked(int region) {
  return host_ != nullptr && ValidRegion(region) && host_->ItemChecked(ChoiceId(region));
}

void RegionWindow::EnableDiscIndicator(int region, bool enabled) {
  if (host_ != nullptr && ValidRegion(region)) host_->EnableItem(IndicatorId(region), enabled);
}

void RegionWindow::CheckDiscIndicator(int region, bool checked) {
  if (host_ != nullptr && ValidRegion(region)) host_->CheckItem(IndicatorId(region), checked);
}

void RegionWindow::SetChangesLeftText(const std::string& text) {
  if (host_ != nullptr) host_->SetItemText(resources::kIdcChangesLeft, text);
}

}  // namespace zone
