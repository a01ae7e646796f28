// Window images on request in the Windows build, as in the Qt build:
//   DVDUTIL_SNAPSHOT=<folder>     once the program's first window has shown and
//                                 settled, it is saved as <folder>/<program>.png
//                                 and the program ends. Started programs
//                                 inherit it and do the same.
//   DVDUTIL_SNAPSHOT_PRESS=<id>   first clicks the control with that id in that
//                                 window (taken out of the environment, so a
//                                 started program does not click too).
// The window system calls WindowShown for every window it opens; without
// DVDUTIL_SNAPSHOT nothing here does anything.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class Win32WindowSnapshot {
 public:
  // Reads (and, for the press, removes) the variables.
  Win32WindowSnapshot();

  bool Requested() const { return !folder_.empty(); }
  // The first window shown starts the sequence: settle, press, settle, save, quit.
  void WindowShown(HWND window);

 private:
  void Settle();
  static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
  void Act();
  void End(int exitCode);

  std::string folder_;
  int pressId_ = 0;
  bool pressPending_ = false;
  HWND window_ = nullptr;
  bool done_ = false;
};

// The image of `window` as the screen shows it (frame and caption included),
// written to `path` as PNG; false with `error` set when it cannot be.
bool SaveWindowImage(HWND window, const std::string& path, std::string* error);

}  // namespace ui
