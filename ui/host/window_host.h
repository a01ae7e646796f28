// The window host: what a dialog's logic may ask of the window it runs in,
// shaped like the dialog calls it stands for (SetDlgItemText, EnableWindow,
// CheckDlgButton, CB_ADDSTRING, SetFocus, MessageBox, SetTimer, AppendMenu).
// The Qt host serves it from widgets, the Win32 host from real dialogs; both
// are built from the same templates, so control ids mean the same everywhere.
#pragma once

#include <string>

namespace ui {

struct DialogTemplate;
class DialogLogic;

// Notification codes a command carries, as WM_COMMAND and WM_NOTIFY do.
inline constexpr int kBnClicked = 0;        // BN_CLICKED
inline constexpr int kCbnSelChange = 1;     // CBN_SELCHANGE
inline constexpr int kCbnEditChange = 5;    // CBN_EDITCHANGE
inline constexpr int kNmDoubleClick = -3;   // NM_DBLCLK
inline constexpr int kMenuCommand = 0;      // a menu item or accelerator

// Stock command ids and system commands.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kSysClose = 0xF060;  // SC_CLOSE

// No list entry or tree item; also what a list reports when nothing is selected.
inline constexpr int kNoEntry = -1;

// A control's place in its window's client area, in pixels.
struct ItemRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const ItemRect&, const ItemRect&) = default;
};

class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // Texts are UTF-8 with "\r\n" line ends, as the templates hold them.
  virtual void SetItemText(int id, const std::string& text) = 0;
  virtual std::string ItemText(int id) const = 0;
  // Shows the end of a multi-line edit box's text (the caret at its end).
  virtual void ScrollItemToEnd(int id) = 0;

  virtual void EnableItem(int id, bool enabled) = 0;
  virtual bool ItemEnabled(int id) const = 0;
  // Sets this one button's check only, as BM_SETCHECK does (radio buttons too).
  virtual void CheckItem(int id, bool checked) = 0;
  virtual bool ItemChecked(int id) const = 0;
  virtual void FocusItem(int id) = 0;

  // A progress bar's range and position (PBM_SETRANGE32 and PBM_SETPOS): the
  // logic keeps the position, stepping included; the host only draws it.
  virtual void SetItemProgress(int id, int position, int low, int high) = 0;

  virtual ItemRect ItemPlace(int id) const = 0;
  virtual void MoveItem(int id, const ItemRect& place) = 0;

  // Combo-box lists. A selection of kNoEntry clears the edit field too; the
  // selection is kNoEntry while text typed into the edit field differs from it.
  virtual void ResetList(int id) = 0;
  virtual void AddListItem(int id, const std::string& text) = 0;
  virtual int ListItemCount(int id) const = 0;
  virtual std::string ListItemText(int id, int index) const = 0;
  virtual void SelectListItem(int id, int index) = 0;
  virtual int ListSelection(int id) const = 0;

  // Tree controls. Items are numbered in insertion order from 0; a parent of
  // kNoEntry inserts at the root. Selection changes notify nobody.
  virtual void ResetTree(int id) = 0;
  virtual int InsertTreeItem(int id, int parent, const std::string& text, bool hasChildren) = 0;
  virtual void SelectTreeItem(int id, int item) = 0;
  virtual int TreeSelection(int id) const = 0;
  virtual std::string TreeItemText(int id, int item) const = 0;
  virtual int TreeItemParent(int id, int item) const = 0;

  // A modal message box over this window: `caption` empty means the
  // application title; `style` holds MB_ flags; the answer is IDOK, IDCANCEL...
  virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;

  // A timer that gives the logic OnTimer(timerId) every `milliseconds` until killed.
  virtual void SetTimer(int timerId, unsigned milliseconds) = 0;
  virtual void KillTimer(int timerId) = 0;

  // A separator and then the entry, at the end of the window's system menu.
  virtual void AppendSystemMenuEntry(int command, const std::string& text) = 0;
  // What the system does with a system command the logic leaves alone
  // (kSysClose closes the window, through the Cancel command in a dialog).
  virtual void SystemCommand(int command) = 0;

  // Ends a modal dialog with `result`, or destroys a modeless one.
  virtual void EndDialog(int result) = 0;

  // Runs `dialog` modally over this window with `logic`; returns its result.
  virtual int RunModal(const DialogTemplate& dialog, DialogLogic& logic) = 0;
};

}  // namespace ui
