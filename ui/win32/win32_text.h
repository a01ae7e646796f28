// Texts between our UTF-8 and the ANSI code page the *A calls speak.
#pragma once

#include <string>

#include "ui/win32/win32_api.h"

namespace ui::win32 {

// Characters the code page lacks become its default character.
std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);

// A window's text (GetWindowTextA), as UTF-8.
std::string WindowTextUtf8(HWND window);

}  // namespace ui::win32
