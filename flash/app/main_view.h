// The updater's form view: drive tree, status box and the three buttons. It
// is the user interface the updater's operations talk to (UpdaterUi) and the
// tree they read the selected drive from (DriveSelection).
#pragma once

#include <QWidget>
#include <deque>
#include <string>
#include <vector>

#include "drvcmd/drive_list.h"
#include "flash/window/app_variant.h"
#include "flash/app/update_progress_dialog.h"
#include "flash/updater.h"
#include "flash/updater_ui.h"
#include "ui/file_dialog_service.h"
#include "ui/message_box_service.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace flash {

struct ShownConfirmation {
  std::string oldFirmware;
  std::string newFirmware;
};

class MainView : public QWidget, public UpdaterUi, public drvcmd::DriveSelection {
  Q_OBJECT

 public:
  MainView(const AppVariant& variant, ui::MessageBoxService& messages,
           ui::FileDialogService& fileDialogs, QWidget* parent);

  void AttachUpdater(Updater* updater) { updater_ = updater; }

  // Rebuilds the drive tree from the updater's scan.
  void ScanDrives();
  // Places the controls in the current client area by the form's formulas.
  void LayOutControls();
  bool Busy() const { return busy_; }

  // Commands.
  void OnFileOpen();
  void OnUpdate();
  void OnTreeDoubleClick();

  // UpdaterUi
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  void SetStatusText(const std::string& text) override { statusText_ = text; }
  void AppendStatusText(const std::string& text) override { statusText_ += text; }
  void RefreshStatusBox() override;
  void ReadBackStatusBox() override;
  std::string StatusText() const override { return statusText_; }
  std::optional<std::string> ChooseOpenFile(const OpenFileRequest& request) override;
  int ConfirmUpdate(const FirmwareIdentity& oldIdentity,
                    const FirmwareIdentity& newIdentity) override;
  drvcmd::ProgressWindow& UpdateProgress() override { return progress_; }
  void PumpEvents() override;

  // DriveSelection
  void TakeFieldValues() override { ReadBackStatusBox(); }
  std::optional<std::string> SelectedText() override;
  std::optional<std::string> SelectedParentText() override;

  // The next confirmations answer from this queue without a dialog.
  void PresetConfirmAnswer(int answer) { presetConfirmAnswers_.push_back(answer); }
  const std::vector<ShownConfirmation>& Confirmations() const { return confirmations_; }

  QTreeWidget* Tree() const { return tree_; }
  QPlainTextEdit* StatusBox() const { return statusBox_; }
  UpdateProgressWindow& ProgressWindow() { return progress_; }

 signals:
  void ExitRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Runs a command unless one is running already.
  template <typename Command>
  void RunCommand(Command command);
  void FillTree(const drvcmd::DriveTree& model);

  const AppVariant& variant_;
  ui::MessageBoxService& messages_;
  ui::FileDialogService& fileDialogs_;
  Updater* updater_ = nullptr;
  std::string statusText_;
  UpdateProgressWindow progress_;
  bool busy_ = false;
  std::deque<int> presetConfirmAnswers_;
  std::vector<ShownConfirmation> confirmations_;

  QLabel* driveListLabel_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QLabel* statusLabel_ = nullptr;
  QPlainTextEdit* statusBox_ = nullptr;
  QPushButton* fileOpen_ = nullptr;
  QPushButton* update_ = nullptr;
  QPushButton* exit_ = nullptr;
};

}  // namespace flash
