// A test binary's window system with the owner-less message boxes (start-up
// failures, before any window) and the windows opened recorded; everything
// else goes to the system it wraps.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/window/window_driver.h"
#include "ui/host/window_system.h"

namespace window_test {

class RecordingWindowSystem : public ui::WindowSystem {
 public:
  explicit RecordingWindowSystem(ui::WindowSystem& system) : system_(system) {}

  void SetApplicationTitle(const std::string& title) override {
    system_.SetApplicationTitle(title);
  }
  void SetApplicationIcon(const ui::IconImage& icon) override { system_.SetApplicationIcon(icon); }
  std::unique_ptr<ui::OpenWindow> Open(const ui::DialogTemplate& dialog,
                                       ui::DialogLogic& logic) override {
    ++openCount_;
    return system_.Open(dialog, logic);
  }
  int RunUntilClosed(ui::OpenWindow& window) override { return system_.RunUntilClosed(window); }
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    messages_.push_back({text, caption, style});
    return system_.MessageBox(text, caption, style);
  }
  void RunPainted(const std::function<void()>& work) override { system_.RunPainted(work); }
  void PumpPaint() override { system_.PumpPaint(); }

  // As the program asked for them: an empty caption is the application title.
  const std::vector<ShownMessage>& Messages() const { return messages_; }
  int OpenCount() const { return openCount_; }

 private:
  ui::WindowSystem& system_;
  std::vector<ShownMessage> messages_;
  int openCount_ = 0;
};

}  // namespace window_test
