// What every window of a Win32 program shares: the application title and
// icon, and how message boxes and modal dialogs are shown (for real, or
// scripted for tests: answered from a queue and recorded, never shown).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/host/window_system.h"
#include "ui/win32/win32_api.h"

namespace ui::win32 {

struct ShownPrompt {
  std::string text;
  std::string caption;  // as shown: the application title when none was given
  unsigned style = 0;
};

class Win32Session {
 public:
  Win32Session() = default;
  Win32Session(const Win32Session&) = delete;
  Win32Session& operator=(const Win32Session&) = delete;
  ~Win32Session();

  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& Title() const { return title_; }
  // The icon of every window opened from now on and of the icon controls.
  void SetIcon(const IconImage& image);
  // The program's icon, or the system's application icon.
  HICON Icon() const;

  // MessageBoxA over `owner` (may be null); an empty caption is the title.
  int MessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned style);

  // Scripted: message boxes answer from the queue (then IDOK), modal dialogs
  // are opened hidden, initialised and ended with IDOK; both are recorded.
  void SetScripted(bool scripted) { scripted_ = scripted; }
  bool Scripted() const { return scripted_; }
  void PresetAnswer(int answer) { answers_.push_back(answer); }
  const std::vector<ShownPrompt>& Prompts() const { return prompts_; }
  void RecordModal(const std::string& caption) { modalCaptions_.push_back(caption); }
  const std::vector<std::string>& ModalCaptions() const { return modalCaptions_; }

 private:
  std::string title_;
  HICON icon_ = nullptr;
  // Icons set before the last: windows opened then may still show them.
  std::vector<HICON> earlierIcons_;
  bool scripted_ = false;
  std::deque<int> answers_;
  std::vector<ShownPrompt> prompts_;
  std::vector<std::string> modalCaptions_;
};

}  // namespace ui::win32
