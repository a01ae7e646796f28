// The window system a program's start-up talks to: it opens dialogs from
// templates with their logic, runs the message loop, shows owner-less message
// boxes and keeps windows painted through a blocking wait. QtWindowSystem and
// Win32WindowSystem implement it, so each program starts up once for both.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

struct DialogTemplate;
class DialogLogic;
class WindowHost;

// A program icon as pixels: rows top to bottom, 0xAARRGGBB.
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// A modeless window the system opened; destroying it destroys the window.
class OpenWindow {
 public:
  virtual ~OpenWindow() = default;
  virtual WindowHost& Host() = 0;
  // False once the window ended (EndDialog, Close).
  virtual bool IsOpen() const = 0;
  // The result EndDialog gave it; meaningful once closed.
  virtual int Result() const = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // The caption of message boxes that name none, and the windows' icon.
  virtual void SetApplicationTitle(const std::string& title) = 0;
  virtual void SetApplicationIcon(const IconImage& icon) = 0;

  // Creates the dialog (shown, modeless) and runs the logic's OnInitDialog.
  virtual std::unique_ptr<OpenWindow> Open(const DialogTemplate& dialog, DialogLogic& logic) = 0;
  // Runs the message loop until `window` has closed; returns its result.
  virtual int RunUntilClosed(OpenWindow& window) = 0;

  // A message box with no owner window (start-up failures).
  virtual int MessageBox(const std::string& text, const std::string& caption,
                         unsigned style) = 0;

  // Runs `work` on another thread to its end; meanwhile every window stays
  // painted and takes no input. No busy loop: the wait sleeps.
  virtual void RunPainted(const std::function<void()>& work) = 0;
  // Handles pending paint messages only (a blocking handler's way to repaint).
  virtual void PumpPaint() = 0;
};

}  // namespace ui
