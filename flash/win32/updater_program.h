// flashspti.exe and flashaspi.exe from start-up to exit on the Win32 window
// system: the platform, the transport's start, the registry settings with the
// recent-file list, the shell registration, the system-information component,
// the frame and its message loop.
#pragma once

#include <string>
#include <vector>

#include "flash/window/app_variant.h"
#include "ui/win32/win32_window_system.h"

namespace flash {

struct Win32UpdaterBuild {
  const AppVariant& variant;
  const char* documentString;  // resource 128's: what the shell registration reads
};

// The arguments the framework's command line gives the document cycle: every
// argument but the shell's switches ("/p", "-x", ...).
std::vector<std::string> DocumentArguments(const std::vector<std::string>& arguments);
// Whether the shell asked for the document to be printed ("/p", "/pt").
bool PrintRequested(const std::vector<std::string>& arguments);

// The whole program; `arguments`: the command line after the program name.
// Returns the exit code.
int RunWin32UpdaterProgram(ui::win32::Win32WindowSystem& windows, const Win32UpdaterBuild& build,
                           const std::vector<std::string>& arguments);

}  // namespace flash
