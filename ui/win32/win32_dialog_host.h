// The window host on a real dialog: the logic's calls become dialog calls on
// the HWND (SetDlgItemTextA, BM_SETCHECK, CB_ADDSTRING, TVM_INSERTITEMA, ...),
// and the dialog procedure hands WM_INITDIALOG, WM_COMMAND, a tree's
// double-click, WM_SYSCOMMAND, WM_TIMER and WM_DESTROY to the logic.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/host/dialog_logic.h"
#include "ui/host/window_host.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_session.h"

namespace ui::win32 {

class Win32DialogHost : public WindowHost {
 public:
  // A modeless dialog window of its own over `owner` (may be null), shown.
  // The template and the logic must outlive the host. When the dialog cannot
  // be created the host is closed at once with result -1.
  static std::unique_ptr<Win32DialogHost> CreateModeless(Win32Session& session,
                                                         const DialogTemplate& dialog,
                                                         DialogLogic& logic, HWND owner);
  // The template as a form inside `parent` (DS_CONTROL | WS_CHILD, no caption),
  // shown at the parent's client origin. IDOK and IDCANCEL the logic leaves
  // alone do not end a form; EndDialog destroys it.
  static std::unique_ptr<Win32DialogHost> CreateChild(Win32Session& session,
                                                      const DialogTemplate& dialog,
                                                      DialogLogic& logic, HWND parent);
  // Runs the template modally over `owner` (DialogBoxIndirectParam); scripted
  // sessions record its caption, initialise it hidden and end it with IDOK.
  static int RunModalDialog(Win32Session& session, const DialogTemplate& dialog, DialogLogic& logic,
                            HWND owner);

  // Hands `message` to the dialog it belongs to when that is one of ours
  // (IsDialogMessage: Tab, Enter, Escape, mnemonics). Returns whether it was.
  static bool TranslateDialogMessage(MSG& message);

  Win32DialogHost(const Win32DialogHost&) = delete;
  Win32DialogHost& operator=(const Win32DialogHost&) = delete;
  // Destroys the window if it is still there.
  ~Win32DialogHost() override;

  HWND Window() const { return window_; }
  bool IsOpen() const { return window_ != nullptr; }
  int Result() const { return result_; }
  const DialogTemplate& Template() const { return dialog_; }

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

 private:
  enum class Mode { kModeless, kModal, kChild };

  Win32DialogHost(Win32Session& session, const DialogTemplate& dialog, DialogLogic& logic,
                  Mode mode);

  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL OnInitDialog();
  bool IsTree(int id) const;
  INT_PTR OnTreeNotify(const NMHDR& header);
  HWND Item(int id) const { return window_ != nullptr ? GetDlgItem(window_, id) : nullptr; }
  HTREEITEM TreeHandle(int id, int item) const;
  int TreeIndex(int id, HTREEITEM handle) const;
  void SelectTreeHandle(HWND tree, HTREEITEM handle);

  Win32Session& session_;
  const DialogTemplate& dialog_;
  DialogLogic& logic_;
  Mode mode_;
  HWND window_ = nullptr;
  int result_ = -1;
  bool initialising_ = false;
  bool focusedDuringInit_ = false;
  // Set while the logic selects a tree item: only then may one be selected
  // from none without the user's click or key.
  bool selectingTree_ = false;
  // Each tree's items by number, in insertion order.
  std::map<int, std::vector<HTREEITEM>> treeItems_;
};

}  // namespace ui::win32
