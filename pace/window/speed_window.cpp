// SpeedWindow: initialisation per build, the button handlers with their busy
// guard, the About entry and the status box.
#include "pace/window/speed_window.h"

#include <string>

#include "resources/pace/pace_resource_ids.h"
#include "ui/host/latin1_text.h"
#include "ui/host/simple_dialog_logic.h"

namespace pace {
namespace {

struct ModeButton {
  int id;
  DriveMode mode;
};
constexpr ModeButton kModeButtons[] = {
    {resources::kIdcQuietTemporary, DriveMode::kQuietTemporary},
    {resources::kIdcQuietPermanent, DriveMode::kQuietPermanent},
    {resources::kIdcPerformanceTemporary, DriveMode::kPerformanceTemporary},
    {resources::kIdcPerformancePermanent, DriveMode::kPerformancePermanent},
};

}  // namespace

SpeedWindow::SpeedWindow(const SpeedWindowVariant& variant, ui::WindowSystem& windows)
    : variant_(variant), windows_(windows) {}

void SpeedWindow::OnInitDialog(ui::WindowHost& host) {
  host_ = &host;
  const std::string aboutEntry = variant_.templates.aboutEntryText;
  if (!aboutEntry.empty()) host.AppendSystemMenuEntry(resources::kIdmSpeedAboutBox, aboutEntry);

  const int driveList = variant_.templates.driveListId;
  drvcmd::DriveCombo drives;
  if (control_ != nullptr) control_->ScanDrives(drives);
  host.ResetList(driveList);
  for (const std::string& label : drives.labels)
    host.AddListItem(driveList, ui::Latin1ToUtf8(label));  // bytes as the drive sent them
  host.SelectListItem(driveList, drives.selected);

  // The extraction list's entries come with the template.
  host.ResetList(resources::kIdcExtractionList);
  for (const char* entry : variant_.templates.extractionEntries) {
    host.AddListItem(resources::kIdcExtractionList, entry);
  }
  const bool driveListed = drives.selected >= 0;
  host.SelectListItem(resources::kIdcExtractionList,
                      driveListed || variant_.extractionSelectedWithoutDrive ? 0 : ui::kNoEntry);
  if (variant_.refreshStatusAtStart) RefreshStatusBox();
}

template <typename Operation>
void SpeedWindow::RunOperation(Operation operation) {
  // An operation never starts inside another (message boxes run their own loop).
  if (busy_ || control_ == nullptr) return;
  busy_ = true;
  operation();
  busy_ = false;
}

bool SpeedWindow::OnCommand(int id, int code) {
  if (code != ui::kBnClicked) return false;
  for (const ModeButton& button : kModeButtons) {
    if (id == button.id) {
      RunOperation([this, &button] { control_->ChangeDriveMode(button.mode); });
      return true;
    }
  }
  switch (id) {
    case resources::kIdcDriveInformation:
      RunOperation([this] { control_->ShowDriveSpeeds(); });
      return true;
    case resources::kIdcExtractionSet:
      RunOperation([this] { control_->SetExtractionSpeed(); });
      return true;
    case resources::kIdcSpeedExit:
      // Exit sends the window the system Close command.
      if (!OnSysCommand(ui::kSysClose) && host_ != nullptr) host_->SystemCommand(ui::kSysClose);
      return true;
    default:
      return false;
  }
}

bool SpeedWindow::OnSysCommand(int command) {
  // Nothing else happens while an operation runs, closing included.
  if (busy_) return true;
  if (command == resources::kIdmSpeedAboutBox) {
    if (host_ != nullptr) {
      ui::SimpleDialogLogic about;
      host_->RunModal(variant_.templates.aboutBox, about);
    }
    return true;
  }
  return false;
}

int SpeedWindow::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  if (host_ != nullptr) return host_->MessageBox(text, caption, style);
  return windows_.MessageBox(text, caption, style);
}

std::optional<int> SpeedWindow::Selection(int listId) const {
  if (host_ == nullptr) return std::nullopt;
  const int selected = host_->ListSelection(listId);
  if (selected == ui::kNoEntry) return std::nullopt;
  return selected;
}

std::optional<int> SpeedWindow::SelectedDrive() {
  return Selection(variant_.templates.driveListId);
}

std::optional<int> SpeedWindow::SelectedExtractionSpeed() {
  return Selection(resources::kIdcExtractionList);
}

void SpeedWindow::RefreshStatusBox() {
  // The box holds one message, shown from its first line as a replaced edit
  // text is; a long one scrolls.
  if (host_ != nullptr) host_->SetItemText(resources::kIdcSpeedStatusBox, statusText_);
}

}  // namespace pace
