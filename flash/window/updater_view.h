// The updater's form view (template 101) as window logic: drive tree, status
// box and the three buttons. It is the user interface the updater's
// operations talk to (UpdaterUi) and the tree they read the selected drive
// from (DriveSelection). Each frame (Qt, Win32) hosts the form, gives it its
// client size on every resize and runs the frame's commands it sends.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "drvcmd/drive_list.h"
#include "flash/updater.h"
#include "flash/updater_ui.h"
#include "flash/window/app_variant.h"
#include "flash/window/open_file_dialog.h"
#include "flash/window/update_progress.h"
#include "platform/system_info_component.h"
#include "ui/host/dialog_logic.h"
#include "ui/host/window_system.h"

namespace flash {

struct ShownConfirmation {
  std::string oldFirmware;  // as FormatFirmwareIdentity gives it (8-bit)
  std::string newFirmware;
};

class UpdaterView : public ui::DialogLogic, public UpdaterUi, public drvcmd::DriveSelection {
 public:
  // `frameCommand` runs a frame command (the Exit button sends the
  // application exit command, resources::kIdAppExit). The progress window
  // opens through `windows`; PumpEvents is its PumpPaint.
  UpdaterView(const AppVariant& variant, ui::WindowSystem& windows, OpenFileDialog& fileDialog,
              std::function<void(int)> frameCommand);

  void AttachUpdater(Updater* updater) { updater_ = updater; }
  const AppVariant& Variant() const { return variant_; }

  // ui::DialogLogic: the form's buttons and the tree's double click. Enter and
  // Escape do nothing: the form has no OK or Cancel command.
  void OnInitDialog(ui::WindowHost& host) override;
  bool OnCommand(int id, int code) override;
  void OnDestroy() override { host_ = nullptr; }

  // The view's part of an initial update: the drive tree rebuilt. The frame
  // then places itself and calls FinishInitialUpdate with its client size.
  void ScanDrives();
  void FinishInitialUpdate(int clientWidth, int clientHeight);
  // Places the controls in a client area of this size by the form's formulas.
  void LayOut(int clientWidth, int clientHeight);
  // A command is running: the window takes no input meanwhile.
  bool Busy() const { return busy_; }

  // Commands.
  void OnFileOpen();
  void OnUpdate();
  void OnTreeDoubleClick();
  void ShowAbout();
  // flashaspi's System Info; `component` may be missing.
  void ShowSystemInfo(platform::SystemInfoComponent* component);

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
  void PumpEvents() override { windows_.PumpPaint(); }

  // DriveSelection
  void TakeFieldValues() override { ReadBackStatusBox(); }
  std::optional<std::string> SelectedText() override;
  std::optional<std::string> SelectedParentText() override;

  // The next confirmations answer from this queue without a dialog.
  void PresetConfirmAnswer(int answer) { presetConfirmAnswers_.push_back(answer); }
  const std::vector<ShownConfirmation>& Confirmations() const { return confirmations_; }
  const flash::UpdateProgress& ProgressWindow() const { return progress_; }

 private:
  // Runs a command unless one is running already.
  template <typename Command>
  void RunCommand(Command command);
  void FillTree(const drvcmd::DriveTree& model);
  std::optional<std::string> TreeText(int item) const;

  const AppVariant& variant_;
  ui::WindowSystem& windows_;
  OpenFileDialog& fileDialog_;
  std::function<void(int)> frameCommand_;
  ui::WindowHost* host_ = nullptr;
  Updater* updater_ = nullptr;
  std::string statusText_;
  flash::UpdateProgress progress_;
  bool busy_ = false;
  std::deque<int> presetConfirmAnswers_;
  std::vector<ShownConfirmation> confirmations_;
};

}  // namespace flash
