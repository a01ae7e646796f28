// How a window test works a program's window, on either host: it presses the
// real controls by id and reads what they show, as a user (or BM_CLICK and
// GetDlgItemTextA) would. Test bodies written against this run unchanged on
// the Qt host and, under Wine, on the Win32 host.
#pragma once

#include <string>
#include <vector>

namespace window_test {

struct ShownMessage {
  std::string text;
  std::string caption;  // as shown: the application title when none was given
  unsigned style = 0;
};

class WindowDriver {
 public:
  virtual ~WindowDriver() = default;

  // A push button's click (BM_CLICK): runs its command to the end.
  virtual void Press(int id) = 0;
  // A system-menu command (WM_SYSCOMMAND), e.g. the About entry or SC_CLOSE.
  virtual void SystemCommand(int command) = 0;
  // The user picks list entry `index` of a combo box (selection + CBN_SELCHANGE).
  virtual void ChooseListItem(int id, int index) = 0;
  // The user types `text` into a control (an edit box, a combo box's edit field).
  virtual void Type(int id, const std::string& text) = 0;

  virtual std::string Text(int id) const = 0;  // UTF-8, "\r\n" line ends
  virtual bool Enabled(int id) const = 0;
  virtual bool Checked(int id) const = 0;
  virtual bool Exists(int id) const = 0;
  virtual int ListCount(int id) const = 0;
  virtual std::string ListText(int id, int index) const = 0;
  virtual int ListSelection(int id) const = 0;  // -1: none
  // Whether the window is still open.
  virtual bool IsOpen() const = 0;

  // Message boxes answer from this queue (then IDOK) without showing; every
  // box asked for is recorded, in order.
  virtual void PresetAnswer(int answer) = 0;
  virtual std::vector<ShownMessage> Messages() const = 0;
  // The modal dialogs (About boxes, ...) opened since the start, by caption.
  virtual std::vector<std::string> ModalCaptions() const = 0;
};

}  // namespace window_test
