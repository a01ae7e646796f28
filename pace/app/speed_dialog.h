// SpeedDialog: the whole speed utility window, built from template 102. It is
// the user interface the speed operations talk to (SpeedUi).
#pragma once

#include <QDialog>
#include <deque>
#include <string>

#include "pace/app/combo_selection.h"
#include "pace/app/speed_window_variant.h"
#include "pace/speed_control.h"
#include "pace/speed_ui.h"
#include "ui/message_box_service.h"
#include "ui/system_menu.h"

class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace pace {

class SpeedDialog : public QDialog, public SpeedUi {
  Q_OBJECT

 public:
  SpeedDialog(const SpeedWindowVariant& variant, ui::MessageBoxService& messages,
              QWidget* parent = nullptr);

  void AttachControl(SpeedControl* control) { control_ = control; }
  // The dialog's initialisation: system menu, icons, the drive list from the
  // scan, the first entries selected, and (ASPI) the status box refreshed.
  void Initialise();

  // The buttons and the system menu's commands.
  void OnChangeMode(DriveMode mode);
  void OnDriveInformation();
  void OnExtractionSet();
  void OnSystemCommand(int command);
  bool Busy() const { return busy_; }

  // SpeedUi
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  std::optional<int> SelectedDrive() override { return driveSelection_->Selected(); }
  std::optional<int> SelectedExtractionSpeed() override { return extractionSelection_->Selected(); }
  void SetStatusText(const std::string& text) override { statusText_ = text; }
  void RefreshStatusBox() override;
  const std::string& StatusText() const { return statusText_; }

  QComboBox* DriveList() const { return driveList_; }
  QComboBox* ExtractionList() const { return extractionList_; }
  QPlainTextEdit* StatusBox() const { return statusBox_; }
  QPushButton* Button(int id) const;
  ui::SystemMenu& SystemMenu() { return *systemMenu_; }
  ComboSelection& DriveSelection() { return *driveSelection_; }
  ComboSelection& ExtractionSelection() { return *extractionSelection_; }

 private:
  template <typename Operation>
  void RunOperation(Operation operation);
  void ConnectButton(int id, void (SpeedDialog::*handler)());

  const SpeedWindowVariant& variant_;
  ui::MessageBoxService& messages_;
  SpeedControl* control_ = nullptr;
  std::string statusText_;
  bool busy_ = false;

  QComboBox* driveList_ = nullptr;
  QComboBox* extractionList_ = nullptr;
  QPlainTextEdit* statusBox_ = nullptr;
  ComboSelection* driveSelection_ = nullptr;
  ComboSelection* extractionSelection_ = nullptr;
  ui::SystemMenu* systemMenu_ = nullptr;
};

}  // namespace pace
