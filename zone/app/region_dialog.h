// RegionDialog: the whole region utility's window. It lists the drives, runs
// the region sequences on its buttons and on a change of the selection, and is
// the user interface they talk to (RegionUi).
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "ui/message_box_service.h"
#include "ui/system_menu.h"
#include "zone/app/pushed_look_style.h"
#include "zone/region_ui.h"
#include "zone/region_utility.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace zone {

class RegionDialog : public QDialog, public RegionUi {
  Q_OBJECT

 public:
  RegionDialog(ui::MessageBoxService& messages, QWidget* parent = nullptr);
  ~RegionDialog() override;

  void AttachUtility(RegionUtility* utility) { utility_ = utility; }
  // Window initialisation: system menu, icon, drive list, placement of the
  // region choices, and the first drive's query.
  void Initialise();

  // Commands.
  void OnGetRegion();
  void OnSetRegion();
  void OnSelectionChanged();
  void ShowAbout();

  // RegionUi
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  void AppendStatusText(const std::string& text) override { statusText_ += text; }
  void RefreshStatusBox() override;
  int SelectedDriveIndex() override;
  void EnableRegionChoice(int region, bool enabled) override;
  void CheckRegionChoice(int region, bool checked) override;
  void PushRegionChoice(int region) override;
  bool RegionChoiceChecked(int region) override;
  void EnableDiscIndicator(int region, bool enabled) override;
  void CheckDiscIndicator(int region, bool checked) override;
  void SetChangesLeftText(const std::string& text) override;

  const std::string& StatusText() const { return statusText_; }
  ui::SystemMenu* SystemMenu() const { return systemMenu_; }
  QComboBox* DriveList() const { return driveList_; }
  QPlainTextEdit* StatusBox() const { return statusBox_; }
  QLabel* ChangesLeftLabel() const { return changesLeft_; }
  QRadioButton* RegionChoice(int region) const;
  QCheckBox* DiscIndicator(int region) const;
  QPushButton* Button(int id) const;

 private:
  template <typename Command>
  void RunCommand(Command command);
  void CreateSystemMenu();
  void FillDriveList();
  void PlaceRegionChoices();

  ui::MessageBoxService& messages_;
  RegionUtility* utility_ = nullptr;
  std::string statusText_;
  bool busy_ = false;
  bool filling_ = false;
  bool typedOver_ = false;  // text typed into the drive list since its last selection
  std::unique_ptr<PushedLookStyle> pushedStyle_;

  ui::SystemMenu* systemMenu_ = nullptr;
  QComboBox* driveList_ = nullptr;
  QPlainTextEdit* statusBox_ = nullptr;
  QLabel* changesLeft_ = nullptr;
  std::array<QRadioButton*, 6> choices_{};
  std::array<QCheckBox*, 6> discs_{};
};

}  // namespace zone
