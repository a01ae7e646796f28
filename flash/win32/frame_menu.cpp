// The frame's menu bar and its recent-file slot.
#include "flash/win32/frame_menu.h"

#include <algorithm>
#include <map>

#include "resources/flash/flash_resource_ids.h"

namespace flash {
namespace {

// Where the recent-file slot starts in its popup: the first item whose command
// is one of the list's, or -1.
int SlotPosition(HMENU popup, int capacity) {
  const int count = ::GetMenuItemCount(popup);
  for (int position = 0; position < count; ++position) {
    const UINT id = ::GetMenuItemID(popup, position);
    if (id == static_cast<UINT>(-1)) continue;  // a separator or a popup
    const int command = static_cast<int>(id);
    if (command >= resources::kIdFileMruFirst && command < resources::kIdFileMruFirst + capacity) {
      return position;
    }
  }
  return -1;
}

}  // namespace

FrameMenu BuildFrameMenu(const resources::FlashMenus& menus) {
  FrameMenu result;
  result.bar = ::CreateMenu();
  std::map<std::string, HMENU> popups;
  for (const resources::MenuItemTemplate& item : menus.menuBar) {
    HMENU& popup = popups[item.menu];
    if (popup == nullptr) {
      popup = ::CreatePopupMenu();
      ::AppendMenuA(result.bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), item.menu);
    }
    if ((item.flags & resources::kMenuSeparator) != 0) {
      ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if ((item.flags & resources::kMenuRecentFiles) != 0) {
      result.recentFilePopup = popup;
      result.recentFilePlaceholder = item.text;
      flags |= MF_GRAYED;
    }
    if ((item.flags & resources::kMenuAlwaysDisabled) != 0) flags |= MF_GRAYED;
    // The toolbar starts shown, so its item starts ticked.
    if ((item.flags & resources::kMenuCheckable) != 0) flags |= MF_CHECKED;
    ::AppendMenuA(popup, flags, static_cast<UINT_PTR>(item.command), item.text);
  }
  return result;
}

void ShowRecentFiles(const FrameMenu& menu, const std::vector<std::string>& entryTexts,
                     int capacity) {
  if (menu.recentFilePopup == nullptr) return;
  const int position = SlotPosition(menu.recentFilePopup, capacity);
  if (position < 0) return;
  while (SlotPosition(menu.recentFilePopup, capacity) == position) {
    ::DeleteMenu(menu.recentFilePopup, static_cast<UINT>(position), MF_BYPOSITION);
  }
  if (entryTexts.empty()) {
    ::InsertMenuA(
        menu.recentFilePopup, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING | MF_GRAYED,
        static_cast<UINT_PTR>(resources::kIdFileMruFirst), menu.recentFilePlaceholder.c_str());
    return;
  }
  const int shown = std::min(static_cast<int>(entryTexts.size()), capacity);
  for (int index = 0; index < shown; ++index) {
    ::InsertMenuA(menu.recentFilePopup, static_cast<UINT>(position + index),
                  MF_BYPOSITION | MF_STRING,
                  static_cast<UINT_PTR>(resources::kIdFileMruFirst + index),
                  entryTexts[static_cast<std::size_t>(index)].c_str());
  }
}

}  // namespace flash
