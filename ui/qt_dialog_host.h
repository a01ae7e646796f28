// A dialog of the Qt host: a QDialog built from a template whose controls send
// their commands to a DialogLogic, the way a Windows dialog sends WM_COMMAND,
// WM_NOTIFY, WM_SYSCOMMAND and WM_TIMER to its dialog procedure. It serves the
// logic's WindowHost calls from the widgets, found by control id.
#pragma once

#include <QDialog>
#include <map>
#include <string>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/host/dialog_logic.h"
#include "ui/host/window_host.h"

class QCloseEvent;
class QTimer;
class QTreeWidgetItem;

namespace ui {

class QtWindowSystem;
class SystemMenu;

class QtDialogHost : public QDialog, public WindowHost {
  Q_OBJECT

 public:
  QtDialogHost(const DialogTemplate& dialog, DialogLogic& logic, QtWindowSystem& system,
               QWidget* parent = nullptr);
  ~QtDialogHost() override;

  // WM_INITDIALOG: the logic fills the controls (call once, before showing).
  void Initialise();

  // A command from a control or key: the logic first; an unhandled IDOK or
  // IDCANCEL ends the dialog with that id.
  void SendCommand(int id, int code);
  // A system command from the system menu or the close box: the logic first,
  // then the system's default (SystemCommand).
  void SendSystemCommand(int command);

  bool Ended() const { return ended_; }
  int Result() const { return result_; }
  ui::SystemMenu* Menu() const { return systemMenu_; }
  QWidget* Control(int id) const;

  // WindowHost
  void SetItemText(int id, const std::string& text) override;
  std::string ItemText(int id) const override;
  void ScrollItemToEnd(int id) override;
  void EnableItem(int id, bool enabled) override;
  bool ItemEnabled(int id) const override;
  void CheckItem(int id, bool checked) override;
  bool ItemChecked(int id) const override;
  void FocusItem(int id) override;
  void SetItemProgress(int id, int position, int low, int high) override;
  ItemRect ItemPlace(int id) const override;
  void MoveItem(int id, const ItemRect& place) override;
  void ResetList(int id) override;
  void AddListItem(int id, const std::string& text) override;
  int ListItemCount(int id) const override;
  std::string ListItemText(int id, int index) const override;
  void SelectListItem(int id, int index) override;
  int ListSelection(int id) const override;
  void ResetTree(int id) override;
  int InsertTreeItem(int id, int parent, const std::string& text, bool hasChildren) override;
  void SelectTreeItem(int id, int item) override;
  int TreeSelection(int id) const override;
  std::string TreeItemText(int id, int item) const override;
  int TreeItemParent(int id, int item) const override;
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  void SetTimer(int timerId, unsigned milliseconds) override;
  void KillTimer(int timerId) override;
  void AppendSystemMenuEntry(int command, const std::string& text) override;
  void SystemCommand(int command) override;
  void EndDialog(int result) override;
  int RunModal(const DialogTemplate& dialog, DialogLogic& logic) override;

  // QDialog: every way a dialog ends goes through EndDialog.
  void done(int result) override;

 protected:
  // The close box sends the system Close command.
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectControls(const DialogTemplate& dialog);
  void Destroy();
  QTreeWidgetItem* TreeItem(int id, int item) const;

  DialogLogic& logic_;
  QtWindowSystem& system_;
  ui::SystemMenu* systemMenu_ = nullptr;
  std::map<int, QTimer*> timers_;
  std::map<int, bool> typedOver_;  // combo ids: text typed since the last selection
  std::map<int, std::vector<QTreeWidgetItem*>> treeItems_;  // insertion order
  int silent_ = 0;  // > 0 while the logic itself changes a list: nobody is notified
  bool initialised_ = false;
  bool ended_ = false;
  bool destroyed_ = false;
  int result_ = 0;
};

}  // namespace ui
