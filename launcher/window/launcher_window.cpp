// LauncherWindow: initialization, the buttons, the system menu, the tool wait.
#include "launcher/window/launcher_window.h"

#include "resources/launcher/launcher_dialogs.h"
#include "resources/launcher/launcher_resource_ids.h"
#include "resources/launcher/launcher_strings.h"
#include "ui/host/simple_dialog_logic.h"

namespace launcher {
namespace {

struct ToolButton {
  int id;
  Tool tool;
};
constexpr ToolButton kToolButtons[] = {
    {resources::kIdcLauncherUpdate, Tool::kUpdate},
    {resources::kIdcLauncherRegion, Tool::kRegion},
    {resources::kIdcLauncherSpeed, Tool::kSpeed},
};

}  // namespace

LauncherWindow::LauncherWindow(Launcher& launcher, ui::WindowSystem& windows)
    : launcher_(launcher), windows_(windows) {}

void LauncherWindow::OnInitDialog(ui::WindowHost& host) {
  host_ = &host;
  // String 101 goes into the system menu only when it is not empty.
  const std::string about = resources::kLauncherAboutMenuText;
  if (!about.empty()) {
    host.AppendSystemMenuEntry(static_cast<int>(resources::kIdmLauncherAbout), about);
  }
  launcher_.BuildSystemReport(*this);
}

bool LauncherWindow::OnCommand(int id, int code) {
  if (code != ui::kBnClicked) return false;
  for (const ToolButton& button : kToolButtons) {
    if (id == button.id) {
      launcher_.LaunchTool(button.tool, *this);
      return true;
    }
  }
  switch (id) {
    case resources::kIdcLauncherAbout:
      ShowAbout();
      return true;
    case resources::kIdcLauncherExit:
      // The application exit command: the dialog ends and the program with it.
      if (host_ != nullptr) host_->EndDialog(ui::kIdOk);
      return true;
    default:
      return false;
  }
}

bool LauncherWindow::OnSysCommand(int command) {
  if (command != static_cast<int>(resources::kIdmLauncherAbout)) return false;
  ShowAbout();
  return true;
}

void LauncherWindow::ShowAbout() {
  if (host_ == nullptr) return;
  ui::SimpleDialogLogic about;
  host_->RunModal(resources::LauncherAboutTemplate(), about);
}

void LauncherWindow::RefreshReport() {
  if (host_ != nullptr) host_->SetItemText(resources::kIdcLauncherReport, reportText_);
}

int LauncherWindow::MessageBox(const std::string& text, unsigned style) {
  if (host_ != nullptr) return host_->MessageBox(text, std::string(), style);
  return windows_.MessageBox(text, std::string(), style);
}

platform::Dword LauncherWindow::WaitForTool(const std::function<platform::Dword()>& wait) {
  platform::Dword result = 0;
  windows_.RunPainted([&] { result = wait(); });
  return result;
}

}  // namespace launcher
