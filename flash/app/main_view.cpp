// The form view: building the form, filling the tree, the status text and the
// dialogs the updater's operations use.
#include "flash/app/main_view.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "flash/app/confirm_update_dialog.h"
#include "flash/window/form_layout.h"
#include "resources/flash/flash_resource_ids.h"
#include "resources/flash/flash_strings.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_keys.h"
#include "ui/event_pump.h"
#include "ui/status_box.h"
#include "ui/tree_style.h"

namespace flash {
namespace {

// The start folder ".\\" is the current folder.
QString DialogFolder(const std::string& folder) {
  if (folder.empty() || folder == ".\\" || folder == "./") return QDir::currentPath();
  return QFile::decodeName(QByteArray::fromStdString(folder));
}

// Drive labels are bytes as the drive sent them; keep them byte for byte.
QString LabelText(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const ui::ItemRect& place) {
  return QRect(place.x, place.y, place.width, place.height);
}

}  // namespace

MainView::MainView(const AppVariant& variant, ui::MessageBoxService& messages,
                   ui::FileDialogService& fileDialogs, QWidget* parent)
    : QWidget(parent),
      variant_(variant),
      messages_(messages),
      fileDialogs_(fileDialogs),
      progress_(variant.dialogs.updateProgress, variant.progressBarId, variant.progressLabelId) {
  ui::BuildControls(*this, variant.dialogs.mainForm);
  // A form takes the dialog keys, but the frame has no OK or Cancel command.
  ui::InstallDialogKeys(*this, {});
  if (variant.layout == FormLayoutKind::kDriveListLabelFirst) {
    driveListLabel_ = ui::FindControl<QLabel>(this, variant.driveListLabelId);
  }
  tree_ = ui::FindControl<QTreeWidget>(this, resources::kIdcDriveTree);
  statusLabel_ = ui::FindControl<QLabel>(this, variant.statusLabelId);
  statusBox_ = ui::FindControl<QPlainTextEdit>(this, variant.statusBoxId);
  fileOpen_ = ui::FindControl<QPushButton>(this, variant.fileOpenId);
  update_ = ui::FindControl<QPushButton>(this, variant.updateId);
  exit_ = ui::FindControl<QPushButton>(this, variant.exitId);
  progress_.SetAnchor(this);

  connect(fileOpen_, &QPushButton::clicked, this, &MainView::OnFileOpen);
  connect(update_, &QPushButton::clicked, this, &MainView::OnUpdate);
  connect(exit_, &QPushButton::clicked, this, &MainView::ExitRequested);
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, &MainView::OnTreeDoubleClick);
}

template <typename Command>
void MainView::RunCommand(Command command) {
  // Blocking handlers pump events; a command never starts inside another.
  if (busy_ || updater_ == nullptr) return;
  busy_ = true;
  command();
  busy_ = false;
}

void MainView::OnFileOpen() {
  RunCommand([this] { updater_->LoadFirmwareFile(); });
}

void MainView::OnUpdate() {
  RunCommand([this] {
    updater_->RunFirmwareUpdate(*this);
    if (variant_.procedure.rescanAfterUpdate) {
      drvcmd::DriveTree model;
      updater_->ScanDrives(model);
      FillTree(model);
    }
  });
}

void MainView::OnTreeDoubleClick() {
  if (!variant_.updateOnDoubleClick || updater_ == nullptr) return;
  if (!updater_->Image().fileOpenUsed) return;
  RunCommand([this] { updater_->RunFirmwareUpdate(*this); });
}

void MainView::ScanDrives() {
  RunCommand([this] {
    ui::SetTreeStyle(*tree_, ui::kTreeHasLines | ui::kTreeHasButtons | ui::kTreeLinesAtRoot);
    drvcmd::DriveTree model;
    updater_->ScanDrives(model);
    FillTree(model);
  });
}

void MainView::FillTree(const drvcmd::DriveTree& model) {
  tree_->clear();
  std::vector<QTreeWidgetItem*> created;
  created.reserve(model.items.size());
  for (std::size_t index = 0; index < model.items.size(); ++index) {
    const drvcmd::DriveTreeItem& entry = model.items[index];
    QTreeWidgetItem* item = nullptr;
    if (entry.parent >= 0 && static_cast<std::size_t>(entry.parent) < index) {
      item = new QTreeWidgetItem(created[static_cast<std::size_t>(entry.parent)]);
    } else {
      item = new QTreeWidgetItem(tree_);
    }
    item->setText(0, LabelText(entry.text));
    if (entry.hasChildren) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    created.push_back(item);
  }
  tree_->clearSelection();
  tree_->setCurrentItem(nullptr);
  if (model.selected >= 0 && static_cast<std::size_t>(model.selected) < created.size()) {
    QTreeWidgetItem* selected = created[static_cast<std::size_t>(model.selected)];
    tree_->setCurrentItem(selected);
    selected->setSelected(true);
    tree_->scrollToItem(selected);
  }
}

void MainView::LayOutControls() {
  const int labelHeight =
      (driveListLabel_ != nullptr ? driveListLabel_ : statusLabel_)->geometry().height();
  const int buttonHeight = fileOpen_->geometry().height();
  const FormLayout layout =
      LayOutForm(variant_.layout, width(), height(), labelHeight, buttonHeight);
  if (driveListLabel_ != nullptr) driveListLabel_->setGeometry(ToQRect(layout.driveListLabel));
  tree_->setGeometry(ToQRect(layout.driveTree));
  statusLabel_->setGeometry(ToQRect(layout.statusLabel));
  statusBox_->setGeometry(ToQRect(layout.statusBox));
  fileOpen_->setGeometry(ToQRect(layout.fileOpen));
  update_->setGeometry(ToQRect(layout.update));
  exit_->setGeometry(ToQRect(layout.exit));
  // The selected drive shows whole in the tree's new size.
  if (QTreeWidgetItem* current = tree_->currentItem()) tree_->scrollToItem(current);
}

void MainView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOutControls();
}

int MainView::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  return messages_.MessageBox(text, caption, style);
}

void MainView::RefreshStatusBox() { ui::WriteStatusBox(*statusBox_, statusText_); }

void MainView::ReadBackStatusBox() { statusText_ = ui::ReadStatusBox(*statusBox_); }

std::optional<std::string> MainView::ChooseOpenFile(const OpenFileRequest& request) {
  ui::OpenFileDialogRequest dialogRequest;
  dialogRequest.title = QString::fromStdString(request.title);
  dialogRequest.initialFolder = DialogFolder(request.initialFolder);
  dialogRequest.initialFileName =
      QFile::decodeName(QByteArray::fromStdString(request.initialFileName));
  dialogRequest.filter = QString::fromStdString(request.filterDescription) + QLatin1Char(' ') +
                         QString::fromLatin1(resources::kHexFileFilterPattern);
  const std::optional<QString> chosen = fileDialogs_.ChooseOpenFile(dialogRequest);
  if (!chosen.has_value()) return std::nullopt;
  return QFile::encodeName(*chosen).toStdString();
}

int MainView::ConfirmUpdate(const FirmwareIdentity& oldIdentity,
                            const FirmwareIdentity& newIdentity) {
  confirmations_.push_back(
      {FormatFirmwareIdentity(oldIdentity), FormatFirmwareIdentity(newIdentity)});
  if (!presetConfirmAnswers_.empty()) {
    const int answer = presetConfirmAnswers_.front();
    presetConfirmAnswers_.pop_front();
    return answer;
  }
  ConfirmUpdateDialog dialog(variant_.dialogs.confirmUpdate, oldIdentity, newIdentity, window());
  return dialog.Run();
}

void MainView::PumpEvents() { ui::PumpEvents(); }

std::optional<std::string> MainView::SelectedText() {
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return selected.front()->text(0).toLatin1().toStdString();
}

std::optional<std::string> MainView::SelectedParentText() {
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  if (selected.isEmpty() || selected.front()->parent() == nullptr) return std::nullopt;
  return selected.front()->parent()->text(0).toLatin1().toStdString();
}

}  // namespace flash
