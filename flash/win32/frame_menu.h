// The updater frame's menu bar from the menu table: popups in the order the
// table names them, separators, the always-disabled commands, the checked
// "&Toolbar" item and the recent-file slot the framework fills.
#pragma once

#include <string>
#include <vector>

#include "platform/windows/win32.h"
#include "resources/flash/flash_menus.h"

namespace flash {

struct FrameMenu {
  HMENU bar = nullptr;
  HMENU recentFilePopup = nullptr;    // the popup that holds the recent-file slot
  std::string recentFilePlaceholder;  // "Recent File": shown, greyed, while the list is empty
};

// CreateMenu/AppendMenuA from the table. The caller owns `bar` (a menu set on
// a window is destroyed with it).
FrameMenu BuildFrameMenu(const resources::FlashMenus& menus);

// Puts the recent-file entries in place of the slot's current items, with the
// commands firstCommand, firstCommand + 1, ...; an empty list shows the
// placeholder, greyed, as the framework does.
void ShowRecentFiles(const FrameMenu& menu, const std::vector<std::string>& entryTexts,
                     int capacity);

}  // namespace flash
