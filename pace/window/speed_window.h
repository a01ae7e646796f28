// SpeedWindow: the speed utility's dialog logic (template 102), the same on
// every window host. It is the user interface the speed operations talk to
// (SpeedUi): the two lists' selections, the status box and message boxes.
#pragma once

#include <optional>
#include <string>

#include "pace/speed_control.h"
#include "pace/speed_ui.h"
#include "pace/window/speed_window_variant.h"
#include "ui/host/dialog_logic.h"
#include "ui/host/window_host.h"
#include "ui/host/window_system.h"

namespace pace {

class SpeedWindow : public ui::DialogLogic, public SpeedUi {
 public:
  // `windows` shows the message boxes that come before the window exists.
  SpeedWindow(const SpeedWindowVariant& variant, ui::WindowSystem& windows);

  // The program object whose operations the buttons run (none: they do nothing).
  void AttachControl(SpeedControl* control) { control_ = control; }

  // ui::DialogLogic: system menu, the drive list from the scan, the first
  // entries selected and (ASPI) the status box refreshed; the buttons; the
  // About entry; Close refused while an operation runs.
  void OnInitDialog(ui::WindowHost& host) override;
  bool OnCommand(int id, int code) override;
  bool OnSysCommand(int command) override;
  void OnDestroy() override { host_ = nullptr; }

  // SpeedUi.
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  std::optional<int> SelectedDrive() override;
  std::optional<int> SelectedExtractionSpeed() override;
  void SetStatusText(const std::string& text) override { statusText_ = text; }
  void RefreshStatusBox() override;

  const std::string& StatusText() const { return statusText_; }
  bool Busy() const { return busy_; }

 private:
  template <typename Operation>
  void RunOperation(Operation operation);
  std::optional<int> Selection(int listId) const;

  const SpeedWindowVariant& variant_;
  ui::WindowSystem& windows_;
  ui::WindowHost* host_ = nullptr;
  SpeedControl* control_ = nullptr;
  std::string statusText_;
  bool busy_ = false;
};

}  // namespace pace
