// LauncherDialog: template 102, the system report, the three tool buttons,
// About and Exit, and the system menu with its About item. While a started
// tool runs the dialog stays as it is, painted, and answers no input.
#pragma once

#include <QDialog>
#include <QMenu>
#include <string>

#include "launcher/launcher.h"
#include "launcher/launcher_ui.h"
#include "ui/message_box_service.h"

class QPlainTextEdit;

namespace launcher {

class LauncherDialog : public QDialog, public LauncherUi {
  Q_OBJECT

 public:
  LauncherDialog(Launcher& launcher, ui::MessageBoxService& messages);

  // LauncherUi.
  void SetReportText(const std::string& text) override;
  void RefreshReport() override;
  int MessageBox(const std::string& text, unsigned style) override;
  platform::Dword WaitForTool(const std::function<platform::Dword()>& wait) override;

  // The window's system menu, and what its commands do (0x10: About; the
  // rest is the default processing).
  QMenu& SystemMenu() { return systemMenu_; }
  void OnSysCommand(unsigned command);
  // The About box, modal.
  void ShowAbout();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OnInitDialog();
  void BuildSystemMenu();
  void ConnectButton(int id, void (LauncherDialog::*handler)());
  void OnUpdateUtility() { launcher_.LaunchTool(Tool::kUpdate, *this); }
  void OnRegionUtility() { launcher_.LaunchTool(Tool::kRegion, *this); }
  void OnSpeedUtility() { launcher_.LaunchTool(Tool::kSpeed, *this); }
  void OnExit() { accept(); }

  Launcher& launcher_;
  ui::MessageBoxService& messages_;
  QPlainTextEdit* reportBox_ = nullptr;
  std::string reportText_;
  QMenu systemMenu_;
};

}  // namespace launcher
