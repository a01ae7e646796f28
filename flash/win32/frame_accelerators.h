// The frame's accelerator table from the portable key texts of the menu table
// ("Ctrl+O"): CreateAcceleratorTableA.
#pragma once

#include <optional>
#include <string_view>

#include "platform/windows/win32.h"
#include "resources/flash/flash_menus.h"

namespace flash {

// One key text as an accelerator entry: modifiers "Ctrl+", "Shift+", "Alt+"
// before a letter, a digit or F1..F12. Nothing for any other text.
std::optional<ACCEL> AcceleratorEntry(std::string_view keys, int command);

// The table of every entry that reads as a key; the caller destroys it
// (DestroyAcceleratorTable).
HACCEL BuildFrameAccelerators(const resources::FlashMenus& menus);

}  // namespace flash
