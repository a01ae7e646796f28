// The window system on Win32: dialogs from in-memory templates, the message
// loop with the dialog manager's keys, message boxes, and a wait that keeps
// the windows painted.
#pragma once

#include <memory>
#include <string>

#include "ui/host/window_system.h"
#include "ui/win32/win32_dialog_host.h"
#include "ui/win32/win32_session.h"

namespace ui::win32 {

// A modeless dialog the window system opened.
class Win32OpenWindow : public OpenWindow {
 public:
  explicit Win32OpenWindow(std::unique_ptr<Win32DialogHost> host) : host_(std::move(host)) {}
  WindowHost& Host() override { return *host_; }
  bool IsOpen() const override { return host_->IsOpen(); }
  int Result() const override { return host_->Result(); }
  Win32DialogHost& DialogHost() { return *host_; }

 private:
  std::unique_ptr<Win32DialogHost> host_;
};

class Win32WindowSystem : public WindowSystem {
 public:
  // Registers the common controls the templates use (tree view, progress bar).
  Win32WindowSystem();

  Win32Session& Session() { return session_; }

  void SetApplicationTitle(const std::string& title) override;
  void SetApplicationIcon(const IconImage& icon) override;
  std::unique_ptr<OpenWindow> Open(const DialogTemplate& dialog, DialogLogic& logic) override;
  // Runs the message loop (through the dialog manager) until `window` has
  // closed; returns its result. The first window run is the one
  // DVDUTIL_SNAPSHOT takes.
  int RunUntilClosed(OpenWindow& window) override;
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  void RunPainted(const std::function<void()>& work) override;
  void PumpPaint() override;

  // Handles every message already queued (through the dialog manager for our
  // dialogs), without waiting for more: what a test does after each step.
  static void PumpPending();

 private:
  Win32Session session_;
};

}  // namespace ui::win32
