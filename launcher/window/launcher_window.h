// LauncherWindow: toolgate's dialog logic (template 102), the same on every
// window host: the system report, the three tool buttons, About and Exit, and
// the system menu's About entry. While a started tool runs the window stays
// as it is, painted, and answers no input.
#pragma once

#include <functional>
#include <string>

#include "launcher/launcher.h"
#include "launcher/launcher_ui.h"
#include "ui/host/dialog_logic.h"
#include "ui/host/window_host.h"
#include "ui/host/window_system.h"

namespace launcher {

class LauncherWindow : public ui::DialogLogic, public LauncherUi {
 public:
  // `windows` keeps the windows painted while a started tool runs.
  LauncherWindow(Launcher& launcher, ui::WindowSystem& windows);

  // ui::DialogLogic.
  void OnInitDialog(ui::WindowHost& host) override;
  bool OnCommand(int id, int code) override;
  bool OnSysCommand(int command) override;
  void OnDestroy() override { host_ = nullptr; }

  // LauncherUi.
  void SetReportText(const std::string& text) override { reportText_ = text; }
  void RefreshReport() override;
  int MessageBox(const std::string& text, unsigned style) override;
  platform::Dword WaitForTool(const std::function<platform::Dword()>& wait) override;

 private:
  void ShowAbout();

  Launcher& launcher_;
  ui::WindowSystem& windows_;
  ui::WindowHost* host_ = nullptr;
  std::string reportText_;
};

}  // namespace launcher
