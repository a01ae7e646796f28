// Latin-1 bytes (drive labels, as a drive sends them) as the UTF-8 text the
// window host takes.
#pragma once

#include <string>

namespace ui {

inline std::string Latin1ToUtf8(const std::string& bytes) {
  constexpr unsigned kAsciiEnd = 0x80;
  constexpr unsigned kLeadTwoBytes = 0xC0;
  constexpr unsigned kContinuation = 0x80;
  constexpr unsigned kSixBits = 0x3F;
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto code = static_cast<unsigned char>(c);
    if (code < kAsciiEnd) {
      text += c;
    } else {
      text += static_cast<char>(kLeadTwoBytes | (code >> 6));
      text += static_cast<char>(kContinuation | (code & kSixBits));
    }
  }
  return text;
}

}  // namespace ui
