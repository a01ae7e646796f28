// The keys every dialog shares, as the Windows dialog manager handles them:
// Enter presses the focused push button, else the default push button, else
// gives the dialog its OK command; Escape gives it the Cancel command. A
// dialog without handlers of its own for OK and Cancel ends on either.
#pragma once

#include <QObject>
#include <functional>

class QDialog;
class QPushButton;
class QWidget;

namespace ui {

struct DialogCommands {
  std::function<void()> ok;      // none: Enter on no button does nothing
  std::function<void()> cancel;  // none: Escape does nothing
};

// The push button Enter presses in `dialog` now: the focused one, else the
// default one (even when disabled: then Enter does nothing); null when neither.
QPushButton* EnterTarget(const QWidget& dialog);

// Gives `dialog` the keys; installed again, the commands are replaced. Its
// push buttons stop taking Enter on their own, so the rule alone decides.
void InstallDialogKeys(QWidget& dialog, DialogCommands commands);
// A dialog without handlers of its own: OK accepts, Cancel rejects.
void InstallDialogKeys(QDialog& dialog);

}  // namespace ui
