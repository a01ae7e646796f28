// A dialog's logic: what it does when the window is created, a control or menu
// sends a command, a system command arrives or a timer runs out. The host owns
// the window and calls these; the logic talks back only through WindowHost.
#pragma once

namespace ui {

class WindowHost;

class DialogLogic {
 public:
  virtual ~DialogLogic() = default;

  // WM_INITDIALOG: every control of the template exists.
  virtual void OnInitDialog(WindowHost& host) = 0;

  // WM_COMMAND (and a tree's WM_NOTIFY, with its notification code). Returns
  // whether the logic handled it; an unhandled IDOK or IDCANCEL ends the dialog
  // with that id, as the dialog manager does.
  virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }

  // WM_SYSCOMMAND: returns whether the logic handled it; the host does the
  // system's default with the rest.
  virtual bool OnSysCommand(int /*command*/) { return false; }

  virtual void OnTimer(int /*timerId*/) {}

  // The window is about to go: the last call the logic gets.
  virtual void OnDestroy() {}
};

}  // namespace ui
