// RegionWindow: the logic of zonespti's one window (template 102), written
// once for every window host. It lists the drives, runs the region sequences
// on its buttons and on a change of the drive list's selection, places the
// region choices, and is the user interface those sequences talk to.
#pragma once

#include <string>

#include "ui/host/dialog_logic.h"
#include "ui/host/window_host.h"
#include "ui/host/window_system.h"
#include "zone/region_ui.h"
#include "zone/region_utility.h"

namespace zone {

// The pushed (highlighted) look of a button, which a host draws its own way;
// the sequences set it on the drive's current region and never clear it.
class PushedLook {
 public:
  virtual ~PushedLook() = default;
  virtual void Push(ui::WindowHost& host, int id) = 0;
};

class RegionWindow : public ui::DialogLogic, public RegionUi {
 public:
  // `look` may be null: the pushed look is then not shown.
  explicit RegionWindow(ui::WindowSystem& windows, PushedLook* look = nullptr);

  void AttachUtility(RegionUtility* utility) { utility_ = utility; }

  // DialogLogic: the system menu's About entry, the drive list, the placement
  // of the region choices and the first drive's query; the commands.
  void OnInitDialog(ui::WindowHost& host) override;
  bool OnCommand(int id, int code) override;
  bool OnSysCommand(int command) override;
  void OnDestroy() override { host_ = nullptr; }

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

 private:
  template <typename Command>
  void RunCommand(Command command);
  void FillDriveList();
  void PlaceRegionChoices();
  void ShowAbout();

  ui::WindowSystem& windows_;
  PushedLook* look_;
  ui::WindowHost* host_ = nullptr;  // while the window is there
  RegionUtility* utility_ = nullptr;
  std::string statusText_;
  bool busy_ = false;
};

}  // namespace zone
