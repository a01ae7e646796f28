// The form view's commands, drive tree, status box and dialogs.
#include "flash/window/updater_view.h"

#include <utility>

#include "drvcmd/notice.h"
#include "flash/window/about_logic.h"
#include "flash/window/confirm_update_logic.h"
#include "flash/window/form_layout.h"
#include "flash/window/system_info_command.h"
#include "resources/flash/flash_resource_ids.h"
#include "resources/flash/flash_strings.h"
#include "ui/host/latin1_text.h"
#include "ui/host/window_host.h"

namespace flash {
namespace {

constexpr int kTree = resources::kIdcDriveTree;

}  // namespace

UpdaterView::UpdaterView(const AppVariant& variant, ui::WindowSystem& windows,
                         OpenFileDialog& fileDialog, std::function<void(int)> frameCommand)
    : variant_(variant),
      windows_(windows),
      fileDialog_(fileDialog),
      frameCommand_(std::move(frameCommand)),
      progress_(windows, variant.dialogs.updateProgress, variant.progressBarId,
                variant.progressLabelId) {}

void UpdaterView::OnInitDialog(ui::WindowHost& host) { host_ = &host; }

bool UpdaterView::OnCommand(int id, int code) {
  if (id == kTree) {
    if (code == ui::kNmDoubleClick) OnTreeDoubleClick();
    return true;
  }
  if (id == ui::kIdOk || id == ui::kIdCancel) return true;
  if (code != ui::kBnClicked) return false;
  if (id == variant_.fileOpenId) {
    OnFileOpen();
  } else if (id == variant_.updateId) {
    OnUpdate();
  } else if (id == variant_.exitId) {
    if (!busy_ && frameCommand_) frameCommand_(resources::kIdAppExit);
  } else {
    return false;
  }
  return true;
}

template <typename Command>
void UpdaterView::RunCommand(Command command) {
  // Blocking handlers pump paint messages; a command never starts inside another.
  if (busy_ || updater_ == nullptr || host_ == nullptr) return;
  busy_ = true;
  command();
  busy_ = false;
}

void UpdaterView::OnFileOpen() {
  RunCommand([this] { updater_->LoadFirmwareFile(); });
}

void UpdaterView::OnUpdate() {
  RunCommand([this] {
    updater_->RunFirmwareUpdate(*this);
    if (variant_.procedure.rescanAfterUpdate) {
      drvcmd::DriveTree model;
      updater_->ScanDrives(model);
      FillTree(model);
    }
  });
}

void UpdaterView::OnTreeDoubleClick() {
  if (!variant_.updateOnDoubleClick || updater_ == nullptr) return;
  if (!updater_->Image().fileOpenUsed) return;
  RunCommand([this] { updater_->RunFirmwareUpdate(*this); });
}

void UpdaterView::ScanDrives() {
  RunCommand([this] {
    drvcmd::DriveTree model;
    updater_->ScanDrives(model);
    FillTree(model);
  });
}

void UpdaterView::FinishInitialUpdate(int clientWidth, int clientHeight) {
  LayOut(clientWidth, clientHeight);
  if (variant_.refreshStatusAfterLayout) RefreshStatusBox();
}

void UpdaterView::FillTree(const drvcmd::DriveTree& model) {
  host_->ResetTree(kTree);
  std::vector<int> created;
  created.reserve(model.items.size());
  for (std::size_t index = 0; index < model.items.size(); ++index) {
    const drvcmd::DriveTreeItem& entry = model.items[index];
    const bool hasParent = entry.parent >= 0 && static_cast<std::size_t>(entry.parent) < index;
    const int parent = hasParent ? created[static_cast<std::size_t>(entry.parent)] : ui::kNoEntry;
    created.push_back(
        host_->InsertTreeItem(kTree, parent, ui::Latin1ToUtf8(entry.text), entry.hasChildren));
  }
  if (model.selected >= 0 && static_cast<std::size_t>(model.selected) < created.size()) {
    host_->SelectTreeItem(kTree, created[static_cast<std::size_t>(model.selected)]);
  }
}

void UpdaterView::LayOut(int clientWidth, int clientHeight) {
  if (host_ == nullptr) return;
  const bool labelFirst = variant_.layout == FormLayoutKind::kDriveListLabelFirst;
  const int labelHeight =
      host_->ItemPlace(labelFirst ? variant_.driveListLabelId : variant_.statusLabelId).height;
  const int buttonHeight = host_->ItemPlace(variant_.fileOpenId).height;
  const FormLayout layout =
      LayOutForm(variant_.layout, clientWidth, clientHeight, labelHeight, buttonHeight);
  if (labelFirst) host_->MoveItem(variant_.driveListLabelId, layout.driveListLabel);
  host_->MoveItem(kTree, layout.driveTree);
  host_->MoveItem(variant_.statusLabelId, layout.statusLabel);
  host_->MoveItem(variant_.statusBoxId, layout.statusBox);
  host_->MoveItem(variant_.fileOpenId, layout.fileOpen);
  host_->MoveItem(variant_.updateId, layout.update);
  host_->MoveItem(variant_.exitId, layout.exit);
  // The selected drive shows whole in the tree's new size.
  const int selected = host_->TreeSelection(kTree);
  if (selected != ui::kNoEntry) host_->SelectTreeItem(kTree, selected);
}

void UpdaterView::ShowAbout() {
  if (host_ == nullptr) return;
  UpdaterAboutLogic about(variant_);
  host_->RunModal(variant_.dialogs.aboutBox, about);
}

void UpdaterView::ShowSystemInfo(platform::SystemInfoComponent* component) {
  const std::optional<std::string> text = SystemInfoText(component);
  if (text.has_value()) {
    MessageBox(*text, resources::kSystemInfoCaption, drvcmd::kMbOk);
  } else {
    MessageBox(resources::kSystemInfoUnavailable, resources::kSystemInfoCaption,
               drvcmd::kMbIconHand);
  }
}

int UpdaterView::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  // Before the form exists (start-up), a box with no owner.
  if (host_ == nullptr) return windows_.MessageBox(text, caption, style);
  return host_->MessageBox(text, caption, style);
}

void UpdaterView::RefreshStatusBox() {
  if (host_ == nullptr) return;
  host_->SetItemText(variant_.statusBoxId, statusText_);
  host_->ScrollItemToEnd(variant_.statusBoxId);
}

void UpdaterView::ReadBackStatusBox() {
  if (host_ != nullptr) statusText_ = host_->ItemText(variant_.statusBoxId);
}

std::optional<std::string> UpdaterView::ChooseOpenFile(const OpenFileRequest& request) {
  return fileDialog_.ChooseOpenFile(request);
}

int UpdaterView::ConfirmUpdate(const FirmwareIdentity& oldIdentity,
                               const FirmwareIdentity& newIdentity) {
  confirmations_.push_back(
      {FormatFirmwareIdentity(oldIdentity), FormatFirmwareIdentity(newIdentity)});
  if (!presetConfirmAnswers_.empty()) {
    const int answer = presetConfirmAnswers_.front();
    presetConfirmAnswers_.pop_front();
    return answer;
  }
  if (host_ == nullptr) return drvcmd::kIdCancel;
  ConfirmUpdateLogic confirm(oldIdentity, newIdentity);
  const int result = host_->RunModal(variant_.dialogs.confirmUpdate, confirm);
  return result == ui::kIdOk ? drvcmd::kIdOk : drvcmd::kIdCancel;
}

std::optional<std::string> UpdaterView::TreeText(int item) const {
  if (host_ == nullptr || item == ui::kNoEntry) return std::nullopt;
  return ui::Utf8ToLatin1(host_->TreeItemText(kTree, item));
}

std::optional<std::string> UpdaterView::SelectedText() {
  if (host_ == nullptr) return std::nullopt;
  return TreeText(host_->TreeSelection(kTree));
}

std::optional<std::string> UpdaterView::SelectedParentText() {
  if (host_ == nullptr) return std::nullopt;
  const int selected = host_->TreeSelection(kTree);
  if (selected == ui::kNoEntry) return std::nullopt;
  return TreeText(host_->TreeItemParent(kTree, selected));
}

}  // namespace flash
