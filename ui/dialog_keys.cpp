// The dialog keys: an event filter on the dialog that sees Enter and Escape
// once no control below it has taken them.
#include "ui/dialog_keys.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace ui {
namespace {

constexpr char kFilterName[] = "dialogKeys";

class DialogKeyFilter : public QObject {
 public:
  DialogKeyFilter(QWidget& dialog, DialogCommands commands)
      : QObject(&dialog), dialog_(dialog), commands_(std::move(commands)) {
    setObjectName(QLatin1String(kFilterName));
  }

  void SetCommands(DialogCommands commands) { commands_ = std::move(commands); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &dialog_ || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      OnEnter();
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      if (commands_.cancel) commands_.cancel();
      return true;
    }
    return false;
  }

 private:
  void OnEnter() {
    if (QPushButton* button = EnterTarget(dialog_)) {
      if (button->isEnabled()) button->click();
    } else if (commands_.ok) {
      commands_.ok();
    }
  }

  QWidget& dialog_;
  DialogCommands commands_;
};

bool Shown(const QPushButton& button, const QWidget& dialog) {
  return button.isVisibleTo(&dialog) && button.window() == dialog.window();
}

}  // namespace

QPushButton* EnterTarget(const QWidget& dialog) {
  if (auto* focused = qobject_cast<QPushButton*>(dialog.focusWidget())) {
    if (dialog.isAncestorOf(focused) && Shown(*focused, dialog)) return focused;
  }
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->isDefault() && Shown(*button, dialog)) return button;
  }
  return nullptr;
}

void InstallDialogKeys(QWidget& dialog, DialogCommands commands) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) button->setAutoDefault(false);
  if (auto* installed =
          dialog.findChild<QObject*>(QLatin1String(kFilterName), Qt::FindDirectChildrenOnly)) {
    static_cast<DialogKeyFilter*>(installed)->SetCommands(std::move(commands));
    return;
  }
  dialog.installEventFilter(new DialogKeyFilter(dialog, std::move(commands)));
}

void InstallDialogKeys(QDialog& dialog) {
  InstallDialogKeys(dialog, {[&dialog] { dialog.accept(); }, [&dialog] { dialog.reject(); }});
}

}  // namespace ui
