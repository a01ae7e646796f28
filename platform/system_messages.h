// The system's message texts for the Win32 error codes our services produce,
// as FormatMessageA returns them (with the trailing "\r\n").
#pragma once

#include <optional>
#include <string_view>

#include "platform/win_types.h"

namespace platform {

std::optional<std::string_view> SystemMessageText(Dword code);

// FormatMessageA on top of the table: shared by every Kernel implementation.
Dword FormatSystemMessage(Dword messageId, char* buffer, Dword size, Dword* lastError);

}  // namespace platform
