#include "platform/system_messages.h"

#include <gtest/gtest.h>

#include "platform/win_errors.h"

namespace platform {
namespace {

TEST(SystemMessages, KnownCodeCopiesTextWithLineEnd) {
  char text[128];
  Dword lastError = 0;
  const Dword length = FormatSystemMessage(kErrorAccessDenied, text, sizeof text, &lastError);
  EXPECT_EQ(std::string(text), "Access is denied.\r\n");
  EXPECT_EQ(length, 19u);
}

TEST(SystemMessages, UnknownCodeFailsWithMessageNotFound) {
  char text[128] = "untouched";
  Dword lastError = 0;
  EXPECT_EQ(FormatSystemMessage(0xDEAD, text, sizeof text, &lastError), 0u);
  EXPECT_EQ(lastError, kErrorMrMidNotFound);
  EXPECT_EQ(std::string(text), "untouched");
}

TEST(SystemMessages, TooSmallBufferFailsInsteadOfTruncating) {
  char text[8];
  Dword lastError = 0;
  EXPECT_EQ(FormatSystemMessage(kErrorAccessDenied, text, sizeof text, &lastError), 0u);
  EXPECT_EQ(lastError, kErrorInsufficientBuffer);
}

}  // namespace
}  // namespace platform
