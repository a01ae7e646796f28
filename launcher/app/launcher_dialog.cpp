// LauncherDialog: initialization, buttons, system menu, the tool wait.
#include "launcher/app/launcher_dialog.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include "launcher/app/launcher_about_dialog.h"
#include "launcher/app/tool_wait.h"
#include "resources/launcher/launcher_dialogs.h"
#include "resources/launcher/launcher_resource_ids.h"
#include "resources/launcher/launcher_strings.h"
#include "ui/dialog_builder.h"

namespace launcher {

LauncherDialog::LauncherDialog(Launcher& launcher, ui::MessageBoxService& messages)
    : QDialog(nullptr), launcher_(launcher), messages_(messages) {
  ui::BuildDialog(*this, resources::LauncherDialogTemplate());
  reportBox_ = ui::FindControl<QPlainTextEdit>(this, resources::kIdcLauncherReport);
  ConnectButton(resources::kIdcLauncherUpdate, &LauncherDialog::OnUpdateUtility);
  ConnectButton(resources::kIdcLauncherRegion, &LauncherDialog::OnRegionUtility);
  ConnectButton(resources::kIdcLauncherSpeed, &LauncherDialog::OnSpeedUtility);
  ConnectButton(resources::kIdcLauncherAbout, &LauncherDialog::ShowAbout);
  ConnectButton(resources::kIdcLauncherExit, &LauncherDialog::OnExit);
  OnInitDialog();
}

void LauncherDialog::ConnectButton(int id, void (LauncherDialog::*handler)()) {
  if (auto* button = ui::FindControl<QPushButton>(this, id)) {
    connect(button, &QPushButton::clicked, this, handler);
  }
}

void LauncherDialog::OnInitDialog() {
  BuildSystemMenu();
  setWindowIcon(QApplication::windowIcon());
  launcher_.BuildSystemReport(*this);
}

void LauncherDialog::BuildSystemMenu() {
  QAction* close = systemMenu_.addAction(QString::fromUtf8(resources::kLauncherCloseMenuText));
  close->setData(resources::kScClose);
  const QString about = QString::fromUtf8(resources::kLauncherAboutMenuText);
  if (!about.isEmpty()) {
    systemMenu_.addSeparator();
    systemMenu_.addAction(about)->setData(resources::kIdmLauncherAbout);
  }
  connect(&systemMenu_, &QMenu::triggered, this,
          [this](QAction* action) { OnSysCommand(action->data().toUInt()); });
  // Alt+Space opens the system menu, as on the system the program comes from.
  auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
  connect(shortcut, &QShortcut::activated, this,
          [this] { systemMenu_.popup(mapToGlobal(QPoint(0, 0))); });
}

void LauncherDialog::contextMenuEvent(QContextMenuEvent* event) {
  systemMenu_.popup(event->globalPos());
}

void LauncherDialog::OnSysCommand(unsigned command) {
  if (command == resources::kIdmLauncherAbout) {
    ShowAbout();
  } else if (command == resources::kScClose) {
    reject();
  }
}

void LauncherDialog::ShowAbout() {
  LauncherAboutDialog about(this);
  about.exec();
}

void LauncherDialog::SetReportText(const std::string& text) { reportText_ = text; }

void LauncherDialog::RefreshReport() {
  if (reportBox_ != nullptr) reportBox_->setPlainText(ui::TemplateText(reportText_.c_str()));
}

int LauncherDialog::MessageBox(const std::string& text, unsigned style) {
  return messages_.MessageBox(text, std::string(), style);
}

platform::Dword LauncherDialog::WaitForTool(const std::function<platform::Dword()>& wait) {
  return WaitWithoutInput(wait);
}

}  // namespace launcher
