// The window system of the Qt programs: dialogs are QtDialogHosts built from
// the templates, message boxes go through one MessageBoxService with the
// application title as caption, the message loop is Qt's.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/host/window_system.h"
#include "ui/message_box_service.h"

class QIcon;

namespace ui {

class QtDialogHost;

// The program icon as a QIcon.
QIcon IconFromImage(const IconImage& image);

class QtWindowSystem : public WindowSystem {
 public:
  explicit QtWindowSystem(std::string applicationTitle = {});
  ~QtWindowSystem() override;

  void SetApplicationTitle(const std::string& title) override;
  void SetApplicationIcon(const IconImage& icon) override;
  std::unique_ptr<OpenWindow> Open(const DialogTemplate& dialog, DialogLogic& logic) override;
  int RunUntilClosed(OpenWindow& window) override;
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  void RunPainted(const std::function<void()>& work) override;
  void PumpPaint() override;

  MessageBoxService& Messages() { return messages_; }

  // Tests: message boxes answer from the preset queue, then IDOK, and modal
  // dialogs are created, initialised, recorded by caption and ended with IDOK
  // at once; nothing waits for a user.
  void SetScripted(bool scripted);
  bool Scripted() const { return scripted_; }
  void RecordModal(const std::string& caption) { modalCaptions_.push_back(caption); }
  const std::vector<std::string>& ModalCaptions() const { return modalCaptions_; }

  // The window Open gave to `window`.
  static QtDialogHost& DialogOf(OpenWindow& window);

 private:
  MessageBoxService messages_;
  bool scripted_ = false;
  std::vector<std::string> modalCaptions_;
};

}  // namespace ui
