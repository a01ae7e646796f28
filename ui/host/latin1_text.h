// Latin-1 bytes (drive labels, as a drive sends them) as the UTF-8 text the
// window host takes, and such a text read back as the bytes again.
#pragma once

#include <cstddef>
#include <string>

namespace ui {

namespace latin1_detail {
inline constexpr unsigned kAsciiEnd = 0x80;
inline constexpr unsigned kLeadMask = 0xE0;
inline constexpr unsigned kLeadTwoBytes = 0xC0;
inline constexpr unsigned kLeadPayload = 0x1F;
inline constexpr unsigned kContinuationMask = 0xC0;
inline constexpr unsigned kContinuation = 0x80;
inline constexpr unsigned kSixBits = 0x3F;
inline constexpr unsigned kLatin1End = 0x100;
}  // namespace latin1_detail

inline std::string Latin1ToUtf8(const std::string& bytes) {
  using namespace latin1_detail;
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

// One byte per character; a character past Latin-1 cannot come from a drive
// and reads as '?'.
inline std::string Utf8ToLatin1(const std::string& text) {
  using namespace latin1_detail;
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < kAsciiEnd) {
      bytes.push_back(static_cast<char>(lead));
    } else if ((lead & kLeadMask) == kLeadTwoBytes && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[++i]);
      const unsigned code = ((lead & kLeadPayload) << 6) | (next & kSixBits);
      bytes.push_back(code < kLatin1End ? static_cast<char>(code) : '?');
    } else {
      // A longer sequence: skip its continuation bytes.
      while (i + 1 < text.size() &&
             (static_cast<unsigned char>(text[i + 1]) & kContinuationMask) == kContinuation) {
        ++i;
      }
      bytes.push_back('?');
    }
  }
  return bytes;
}

}  // namespace ui
