// The updater's main frame as a native window: its class and styles, menu
// bar, toolbar and accelerators, the form view in its client area, dropped
// files, and the message loop. What the commands do is its owner's business.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "flash/win32/frame_menu.h"
#include "flash/win32/frame_toolbar.h"
#include "platform/windows/win32.h"
// After windows.h, which it needs.
#include <shellapi.h>

#include "resources/flash/flash_menus.h"

namespace flash {

inline constexpr char kFrameWindowClass[] = "DvdutilUpdaterFrame";

// The frame's window style per build: the framework's default frame less the
// sizing border (flashaspi keeps its maximize box), or exactly caption,
// system menu and minimize box (flashspti).
DWORD FrameWindowStyle(bool hasMaximizeBox);

// The first frame rectangle (flashaspi): CX/4, CY/4, CX/2 wide and CY high,
// from the full-screen metrics.
RECT FirstFramePlace();

struct FrameCallbacks {
  // A menu item, toolbar button or accelerator.
  std::function<void(int command)> command;
  // Files dropped on the frame, in the order the shell gives them.
  std::function<void(const std::vector<std::string>& paths)> dropFiles;
  // The client area below the toolbar changed: lay out the form.
  std::function<void()> formResized;
};

class FrameWindow {
 public:
  FrameWindow(const resources::FlashMenus& menus, FrameCallbacks callbacks);
  ~FrameWindow();
  FrameWindow(const FrameWindow&) = delete;
  FrameWindow& operator=(const FrameWindow&) = delete;

  // Registers the class once and creates the window, hidden, with its menu,
  // toolbar and accelerators. `first`: the first placement, or null for the
  // system's default. False when the window or its toolbar cannot be made.
  bool Create(DWORD style, const RECT* first, HICON icon);

  HWND Handle() const { return frame_; }
  HMENU Menu() const { return menu_.bar; }
  const FrameMenu& Menus() const { return menu_; }
  FrameToolbar& Toolbar() { return toolbar_; }
  HACCEL Accelerators() const { return accelerators_; }

  // The form view: a child window that fills the client area below the toolbar.
  void AttachForm(HWND form);
  HWND Form() const { return form_; }
  // The form's rectangle in the frame's client area.
  RECT FormPlace() const;

  void SetCaption(const std::string& caption);
  // Shows or hides the toolbar, ticks View > Toolbar, and lays out the form.
  void ShowToolbar(bool visible);
  // Moves the whole window (title bar and border included), repainting.
  void Place(const RECT& place);
  // Replaces the recent-file slot of the File menu.
  void ShowRecentFiles(const std::vector<std::string>& entryTexts, int capacity);
  // Closes the window as the system menu's Close does.
  void Close();

  // GetMessage until the frame is gone: accelerators first, then the form's
  // dialog keys. Returns the quit code.
  int RunMessageLoop();

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void FitForm();
  void OnDropFiles(HDROP drop);

  const resources::FlashMenus& menusTable_;
  FrameCallbacks callbacks_;
  HWND frame_ = nullptr;
  FrameMenu menu_;
  FrameToolbar toolbar_;
  HACCEL accelerators_ = nullptr;
  HWND form_ = nullptr;
  bool looping_ = false;
};

}  // namespace flash
