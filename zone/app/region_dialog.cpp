// RegionDialog: built from template 102 (with the dialog keys every dialog
// shares); the sequences' controls, the drive list and the system menu.
#include "zone/app/region_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "resources/zone/zone_dialogs.h"
#include "resources/zone/zone_resource_ids.h"
#include "resources/zone/zone_strings.h"
#include "ui/control_fit.h"
#include "ui/dialog_builder.h"
#include "ui/status_box.h"
#include "zone/app/region_about_dialog.h"
#include "zone/app/region_choice_layout.h"

namespace zone {
namespace {

std::size_t Slot(int region) { return static_cast<std::size_t>(region - 1); }

bool ValidRegion(int region) { return region >= 1 && region <= kRegionCount; }

// Drive labels are bytes as the drive sent them; keep them byte for byte.
QString LabelText(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

RegionDialog::RegionDialog(ui::MessageBoxService& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
  ui::BuildDialog(*this, resources::RegionDialogTemplate());
  driveList_ = ui::FindControl<QComboBox>(this, resources::kIdcZoneDriveList);
  statusBox_ = ui::FindControl<QPlainTextEdit>(this, resources::kIdcZoneStatusBox);
  changesLeft_ = ui::FindControl<QLabel>(this, resources::kIdcChangesLeft);
  pushedStyle_ = std::make_unique<PushedLookStyle>();
  for (int region = 1; region <= kRegionCount; ++region) {
    QRadioButton* choice =
        ui::FindControl<QRadioButton>(this, resources::kRegionChoiceIds[Slot(region)]);
    choice->setStyle(pushedStyle_.get());
    choices_[Slot(region)] = choice;
    discs_[Slot(region)] =
        ui::FindControl<QCheckBox>(this, resources::kDiscIndicatorIds[Slot(region)]);
  }
  connect(Button(resources::kIdcGetRegion), &QPushButton::clicked, this,
          &RegionDialog::OnGetRegion);
  connect(Button(resources::kIdcSetRegion), &QPushButton::clicked, this,
          &RegionDialog::OnSetRegion);
  // Exit sends the window the system's Close command.
  connect(Button(resources::kIdcZoneExit), &QPushButton::clicked, this, [this] {
    if (systemMenu_ != nullptr) {
      systemMenu_->Dispatch(ui::kScClose);
    } else {
      close();
    }
  });
  connect(driveList_, &QComboBox::currentIndexChanged, this, &RegionDialog::OnSelectionChanged);
  // Typed text leaves no item selected; picking the same item again selects it,
  // which the index alone does not show.
  connect(driveList_->lineEdit(), &QLineEdit::textEdited, this, [this] { typedOver_ = true; });
  connect(driveList_, &QComboBox::activated, this, [this] {
    if (typedOver_) OnSelectionChanged();
  });
}

RegionDialog::~RegionDialog() {
  // The choices use the style; they go before it does.
  for (QRadioButton* choice : choices_) {
    if (choice != nullptr) choice->setStyle(nullptr);
  }
}

QRadioButton* RegionDialog::RegionChoice(int region) const {
  return ValidRegion(region) ? choices_[Slot(region)] : nullptr;
}

QCheckBox* RegionDialog::DiscIndicator(int region) const {
  return ValidRegion(region) ? discs_[Slot(region)] : nullptr;
}

QPushButton* RegionDialog::Button(int id) const { return ui::FindControl<QPushButton>(this, id); }

void RegionDialog::Initialise() {
  CreateSystemMenu();
  setWindowIcon(QApplication::windowIcon());
  FillDriveList();
  PlaceRegionChoices();
  if (driveList_->count() > 0) OnGetRegion();
}

void RegionDialog::CreateSystemMenu() {
  systemMenu_ = new ui::SystemMenu(*this, [this](int command) {
    if (command == resources::kIdmAboutZone) ShowAbout();
  });
  systemMenu_->AppendEntry(QString::fromUtf8(resources::kZoneAboutMenuText),
                           resources::kIdmAboutZone);
}

void RegionDialog::FillDriveList() {
  if (utility_ == nullptr) return;
  filling_ = true;
  driveList_->clear();
  const drvcmd::DriveCombo& drives = utility_->ScanDrives();
  for (const std::string& label : drives.labels) driveList_->addItem(LabelText(label));
  ui::ShowWholeEntries(*driveList_);
  driveList_->setCurrentIndex(drives.selected);
  if (drives.selected < 0) driveList_->setEditText(QString());
  filling_ = false;
}

void RegionDialog::PlaceRegionChoices() {
  const QWidget* group = ui::FindControl<QGroupBox>(this, resources::kIdcRegionGroup);
  // The rows start below the group's caption, where its contents start.
  const RegionChoicePlacement placement =
      zone::PlaceRegionChoices(group->geometry(), changesLeft_->geometry(),
                               choices_.front()->geometry(), group->contentsRect().top());
  for (std::size_t k = 0; k < choices_.size(); ++k) choices_[k]->setGeometry(placement.choices[k]);
  changesLeft_->setGeometry(placement.label);
}

template <typename Command>
void RegionDialog::RunCommand(Command command) {
  // A sequence never starts inside another (a message box runs its own loop).
  if (busy_ || utility_ == nullptr) return;
  busy_ = true;
  command();
  busy_ = false;
}

void RegionDialog::OnGetRegion() {
  RunCommand([this] { utility_->QueryRegion(); });
}

void RegionDialog::OnSetRegion() {
  RunCommand([this] { utility_->ChangeRegion(); });
}

void RegionDialog::OnSelectionChanged() {
  if (filling_) return;
  typedOver_ = false;
  RunCommand([this] { utility_->QueryRegion(); });
}

void RegionDialog::ShowAbout() {
  RegionAboutDialog about(this);
  about.exec();
}

int RegionDialog::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  return messages_.MessageBox(text, caption, style);
}

void RegionDialog::RefreshStatusBox() { ui::WriteStatusBox(*statusBox_, statusText_); }

int RegionDialog::SelectedDriveIndex() {
  const int index = driveList_->currentIndex();
  if (index < 0) return drvcmd::kNoItem;
  // Text typed into the edit field leaves no list item selected.
  if (driveList_->isEditable() && driveList_->currentText() != driveList_->itemText(index)) {
    return drvcmd::kNoItem;
  }
  return index;
}

void RegionDialog::EnableRegionChoice(int region, bool enabled) {
  if (QRadioButton* choice = RegionChoice(region)) choice->setEnabled(enabled);
}

void RegionDialog::CheckRegionChoice(int region, bool checked) {
  QRadioButton* choice = RegionChoice(region);
  if (choice == nullptr) return;
  // Like BM_SETCHECK this sets the one button only; a radio button of an
  // exclusive group cannot be unchecked while it is in it.
  for (QRadioButton* button : choices_) button->setAutoExclusive(false);
  choice->setChecked(checked);
  for (QRadioButton* button : choices_) button->setAutoExclusive(true);
}

void RegionDialog::PushRegionChoice(int region) {
  if (QRadioButton* choice = RegionChoice(region)) SetPushedLook(*choice);
}

bool RegionDialog::RegionChoiceChecked(int region) {
  const QRadioButton* choice = RegionChoice(region);
  return choice != nullptr && choice->isChecked();
}

void RegionDialog::EnableDiscIndicator(int region, bool enabled) {
  if (QCheckBox* disc = DiscIndicator(region)) disc->setEnabled(enabled);
}

void RegionDialog::CheckDiscIndicator(int region, bool checked) {
  if (QCheckBox* disc = DiscIndicator(region)) disc->setChecked(checked);
}

void RegionDialog::SetChangesLeftText(const std::string& text) {
  changesLeft_->setText(QString::fromStdString(text));
}

}  // namespace zone
