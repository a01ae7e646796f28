// The Qt window system as the updater's modeless windows use it: each one
// (the progress window) opens centred on the main frame and kept above it,
// since nothing else shows that the program is busy; the rest is the Qt
// window system's own.
#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/qt_window_system.h"

namespace flash {

class AnchoredWindowSystem : public ui::WindowSystem {
 public:
  AnchoredWindowSystem(ui::QtWindowSystem& system, QWidget& anchor)
      : system_(system), anchor_(&anchor) {}

  void SetApplicationTitle(const std::string& title) override {
    system_.SetApplicationTitle(title);
  }
  void SetApplicationIcon(const ui::IconImage& icon) override { system_.SetApplicationIcon(icon); }
  std::unique_ptr<ui::OpenWindow> Open(const ui::DialogTemplate& dialog,
                                       ui::DialogLogic& logic) override;
  int RunUntilClosed(ui::OpenWindow& window) override { return system_.RunUntilClosed(window); }
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    return system_.MessageBox(text, caption, style);
  }
  void RunPainted(const std::function<void()>& work) override { system_.RunPainted(work); }
  void PumpPaint() override { system_.PumpPaint(); }

 private:
  ui::QtWindowSystem& system_;
  QPointer<QWidget> anchor_;
};

}  // namespace flash
