// The system menu as a popup menu of the window.
#include "ui/system_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QWidget>

namespace ui {

SystemMenu::SystemMenu(QWidget& window, std::function<void(int)> onCommand)
    : QObject(&window), window_(window), onCommand_(std::move(onCommand)) {
  menu_ = new QMenu(&window);
  QAction* close = menu_->addAction(QStringLiteral("&Close\tAlt+F4"));
  actions_[kScClose] = close;
  connect(close, &QAction::triggered, this, [this] { Dispatch(kScClose); });

  window.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&window, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menu_->popup(window_.mapToGlobal(at)); });
  auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+Space")), &window);
  connect(shortcut, &QShortcut::activated, this,
          [this] { menu_->popup(window_.mapToGlobal(QPoint(0, 0))); });
}

void SystemMenu::AppendEntry(const QString& text, int command) {
  if (text.isEmpty()) return;
  menu_->addSeparator();
  QAction* action = menu_->addAction(text);
  actions_[command] = action;
  connect(action, &QAction::triggered, this, [this, command] { Dispatch(command); });
}

void SystemMenu::Dispatch(int command) {
  if (command == kScClose) {
    window_.close();
  } else if (onCommand_) {
    onCommand_(command);
  }
}

QAction* SystemMenu::Action(int command) const {
  const auto found = actions_.find(command);
  return found != actions_.end() ? found->second : nullptr;
}

}  // namespace ui
