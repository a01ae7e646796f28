// Message boxes and the program icon shared by the Win32 host's windows.
#include "ui/win32/win32_session.h"

#include "ui/win32/win32_icon.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {

Win32Session::~Win32Session() {
  if (icon_ != nullptr) DestroyIcon(icon_);
  for (HICON icon : earlierIcons_) DestroyIcon(icon);
}

void Win32Session::SetIcon(const IconImage& image) {
  HICON icon = CreateIconFromImage(image);
  if (icon == nullptr) return;
  if (icon_ != nullptr) earlierIcons_.push_back(icon_);
  icon_ = icon;
}

HICON Win32Session::Icon() const {
  return icon_ != nullptr ? icon_ : LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
}

int Win32Session::MessageBox(HWND owner, const std::string& text, const std::string& caption,
                             unsigned style) {
  const std::string shownCaption = caption.empty() ? title_ : caption;
  if (scripted_) {
    prompts_.push_back({text, shownCaption, style});
    if (answers_.empty()) return IDOK;
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return MessageBoxA(owner, Utf8ToAnsi(text).c_str(), Utf8ToAnsi(shownCaption).c_str(), style);
}

}  // namespace ui::win32
