// The updater frame's toolbar: a common-controls toolbar (flat, tooltips) with
// the three 16 by 15 images of the resources, the always-disabled middle
// button, and the tooltips from the command strings, in a band with a gripper
// at the top of the frame.
#pragma once

#include "platform/windows/win32.h"
// After windows.h, which it needs.
#include <commctrl.h>

#include "resources/flash/flash_menus.h"

namespace flash {

// The framework's toolbar window id.
inline constexpr int kFrameToolbarId = 0xE800;

class FrameToolbar {
 public:
  FrameToolbar() = default;
  ~FrameToolbar();
  FrameToolbar(const FrameToolbar&) = delete;
  FrameToolbar& operator=(const FrameToolbar&) = delete;

  // Creates the toolbar at the top of `frame`; false when the control or its
  // images cannot be made (the frame then fails to open).
  bool Create(HWND frame, const resources::FlashMenus& menus);

  HWND Handle() const { return toolbar_; }
  HWND Bar() const { return rebar_; }  // the band that holds the toolbar
  bool Visible() const;
  void Show(bool visible);
  // Resizes the bar to its frame's width (WM_SIZE); its height stays.
  void FitToFrame();
  // The pixels the bar takes at the top of the frame's client area (0 when hidden).
  int Height() const;

  // A tooltip request (TTN_GETDISPINFOA) for one of the buttons: fills in the
  // second field of the command's string. False when it is not the toolbar's.
  bool AnswerTooltip(NMHDR* header) const;

 private:
  HWND rebar_ = nullptr;
  HWND toolbar_ = nullptr;
  HIMAGELIST images_ = nullptr;
  const resources::FlashMenus* menus_ = nullptr;
};

}  // namespace flash
