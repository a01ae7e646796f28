// How the command layer and the programs' sequences show a message to the user.
// The windows implement it with message boxes; tests with a scripted fake.
#pragma once

#include <string>

namespace drvcmd {

// Button and icon styles (MB_*) and answers (ID*), with the Windows values.
inline constexpr unsigned kMbOk = 0x00000000u;
inline constexpr unsigned kMbOkCancel = 0x00000001u;
inline constexpr unsigned kMbIconHand = 0x00000010u;
inline constexpr unsigned kMbIconQuestion = 0x00000020u;
inline constexpr unsigned kMbIconExclamation = 0x00000030u;
inline constexpr unsigned kMbIconAsterisk = 0x00000040u;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

class Notice {
 public:
  virtual ~Notice() = default;
  // An empty caption means the application title. Returns the button pressed.
  virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
};

// The common case: OK button, application title.
inline int ShowMessage(Notice& notice, const std::string& text) {
  return notice.MessageBox(text, std::string(), kMbOk);
}

}  // namespace drvcmd
