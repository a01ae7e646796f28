// SpeedDialog: controls from the template (with the dialog keys every dialog
// shares), the button handlers and the status box.
#include "pace/app/speed_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "pace/app/speed_about_dialog.h"
#include "pace/app/speed_icon.h"
#include "resources/pace/pace_resource_ids.h"
#include "ui/control_fit.h"
#include "ui/dialog_builder.h"
#include "ui/status_box.h"

namespace pace {
namespace {

// Drive labels are bytes as the drive sent them; keep them byte for byte.
QString LabelText(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kModeButtons[] = {resources::kIdcQuietTemporary, resources::kIdcQuietPermanent,
                                resources::kIdcPerformanceTemporary,
                                resources::kIdcPerformancePermanent};
constexpr int kStatusLines = 2;

constexpr DriveMode kButtonModes[] = {DriveMode::kQuietTemporary, DriveMode::kQuietPermanent,
                                      DriveMode::kPerformanceTemporary,
                                      DriveMode::kPerformancePermanent};

// A template sized for the original font can be too narrow for the font in
// use: let the label grow to its text, up to the next control beside it.
void FitLabelToText(QLabel& label) {
  label.setWordWrap(false);
  QRect wanted = label.geometry();
  wanted.setWidth(std::max(wanted.width(), label.sizeHint().width()));
  for (const QWidget* sibling :
       label.parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (sibling != &label && wanted.intersects(sibling->geometry())) {
      wanted.setRight(std::max(label.geometry().right(), sibling->geometry().left() - 1));
    }
  }
  label.setGeometry(wanted);
}

}  // namespace

SpeedDialog::SpeedDialog(const SpeedWindowVariant& variant, ui::MessageBoxService& messages,
                         QWidget* parent)
    : QDialog(parent), variant_(variant), messages_(messages) {
  ui::BuildDialog(*this, variant.templates.speedDialog);
  driveList_ = ui::FindControl<QComboBox>(this, variant.templates.driveListId);
  extractionList_ = ui::FindControl<QComboBox>(this, resources::kIdcExtractionList);
  statusBox_ = ui::FindControl<QPlainTextEdit>(this, resources::kIdcSpeedStatusBox);
  FitLabelToText(*ui::FindControl<QLabel>(this, resources::kIdcExtractionLabel));
  // Each message has at most two lines; both show without scrolling.
  ui::ShowLines(*statusBox_, kStatusLines);
  driveSelection_ = new ComboSelection(*driveList_);
  extractionSelection_ = new ComboSelection(*extractionList_);
  for (const char* entry : variant.templates.extractionEntries) {
    extractionList_->addItem(QString::fromUtf8(entry));
  }
  ui::ShowWholeEntries(*extractionList_);
  extractionSelection_->Select(-1);

  for (std::size_t i = 0; i < std::size(kModeButtons); ++i) {
    const DriveMode mode = kButtonModes[i];
    connect(Button(kModeButtons[i]), &QPushButton::clicked, this,
            [this, mode] { OnChangeMode(mode); });
  }
  ConnectButton(resources::kIdcDriveInformation, &SpeedDialog::OnDriveInformation);
  ConnectButton(resources::kIdcExtractionSet, &SpeedDialog::OnExtractionSet);
  connect(Button(resources::kIdcSpeedExit), &QPushButton::clicked, this,
          [this] { OnSystemCommand(ui::kScClose); });

  systemMenu_ = new ui::SystemMenu(*this, [this](int command) { OnSystemCommand(command); });
}

void SpeedDialog::ConnectButton(int id, void (SpeedDialog::*handler)()) {
  connect(Button(id), &QPushButton::clicked, this, handler);
}

QPushButton* SpeedDialog::Button(int id) const { return ui::FindControl<QPushButton>(this, id); }

void SpeedDialog::Initialise() {
  systemMenu_->AppendEntry(QString::fromUtf8(variant_.templates.aboutEntryText),
                           resources::kIdmSpeedAboutBox);
  setWindowIcon(SpeedIcon());

  drvcmd::DriveCombo drives;
  if (control_ != nullptr) control_->ScanDrives(drives);
  driveList_->clear();
  for (const std::string& label : drives.labels) driveList_->addItem(LabelText(label));
  ui::ShowWholeEntries(*driveList_);
  driveSelection_->Select(drives.selected);
  const bool driveListed = drives.selected >= 0;
  if (driveListed || variant_.extractionSelectedWithoutDrive) extractionSelection_->Select(0);
  if (variant_.refreshStatusAtStart) RefreshStatusBox();
}

template <typename Operation>
void SpeedDialog::RunOperation(Operation operation) {
  // An operation never starts inside another (message boxes run their own loop).
  if (busy_ || control_ == nullptr) return;
  busy_ = true;
  operation();
  busy_ = false;
}

void SpeedDialog::OnChangeMode(DriveMode mode) {
  RunOperation([this, mode] { control_->ChangeDriveMode(mode); });
}

void SpeedDialog::OnDriveInformation() {
  RunOperation([this] { control_->ShowDriveSpeeds(); });
}

void SpeedDialog::OnExtractionSet() {
  RunOperation([this] { control_->SetExtractionSpeed(); });
}

void SpeedDialog::OnSystemCommand(int command) {
  if (busy_) return;
  if (command == resources::kIdmSpeedAboutBox) {
    SpeedAboutDialog about(variant_, this);
    about.exec();
  } else if (command == ui::kScClose) {
    close();
  }
}

int SpeedDialog::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  return messages_.MessageBox(text, caption, style);
}

void SpeedDialog::RefreshStatusBox() {
  // The box holds one message, shown from its first line as a replaced edit
  // text is; a long one scrolls.
  ui::WriteStatusBox(*statusBox_, statusText_);
  statusBox_->moveCursor(QTextCursor::Start);
  statusBox_->verticalScrollBar()->setValue(statusBox_->verticalScrollBar()->minimum());
}

}  // namespace pace
