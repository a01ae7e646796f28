// A dialog's system menu: "Close" and the entries a program appends (its About
// entry). Windows opens it from the title bar; here it opens with Alt+Space or
// a right click on the dialog's free area, and Dispatch runs its commands.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QWidget;

namespace ui {

inline constexpr int kScClose = 0xF060;  // the system Close command

class SystemMenu : public QObject {
  Q_OBJECT

 public:
  // `onCommand` runs every command but Close, which closes the window.
  SystemMenu(QWidget& window, std::function<void(int)> onCommand);

  // A separator and then the entry, as AppendMenu does; nothing for an empty text.
  void AppendEntry(const QString& text, int command);
  void Dispatch(int command);

  QMenu* Menu() const { return menu_; }
  QAction* Action(int command) const;

 private:
  QWidget& window_;
  std::function<void(int)> onCommand_;
  QMenu* menu_ = nullptr;
  std::map<int, QAction*> actions_;
};

}  // namespace ui
